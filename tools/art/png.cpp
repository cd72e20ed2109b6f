#include "art/png.h"

#include <algorithm>
#include <array>

namespace art {
namespace {

// Writes bits least significant first, as deflate packs them.
class BitWriter {
 public:
  explicit BitWriter(Bytes& out) : out_(out) {}
  void put(std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) {
      if ((value >> i) & 1u) current_ |= static_cast<std::uint8_t>(1u << used_);
      if (++used_ == 8) flush();
    }
  }
  // Huffman codes go most significant bit first.
  void putCode(std::uint32_t code, int length) {
    for (int i = length - 1; i >= 0; --i) put((code >> i) & 1u, 1);
  }
  void finish() {
    if (used_ > 0) flush();
  }

 private:
  void flush() {
    out_.push_back(current_);
    current_ = 0;
    used_ = 0;
  }
  Bytes& out_;
  std::uint8_t current_ = 0;
  int used_ = 0;
};

// The fixed Huffman code of deflate's block type 1.
void putLiteral(BitWriter& bits, unsigned symbol) {
  if (symbol < 144) bits.putCode(0x30 + symbol, 8);
  else if (symbol < 256) bits.putCode(0x190 + symbol - 144, 9);
  else if (symbol < 280) bits.putCode(symbol - 256, 7);
  else bits.putCode(0xC0 + symbol - 280, 8);
}

constexpr std::array<unsigned, 29> kLengthBase{3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                               31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> kLengthExtra{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                           2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<unsigned, 30> kDistanceBase{1,   2,   3,   4,   5,   7,    9,    13,   17,   25,
                                                 33,  49,  65,  97,  129, 193,  257,  385,  513,  769,
                                                 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<int, 30> kDistanceExtra{0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                             6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void putMatch(BitWriter& bits, unsigned length, unsigned distance) {
  int code = 28;
  while (kLengthBase[static_cast<std::size_t>(code)] > length) --code;
  putLiteral(bits, 257 + static_cast<unsigned>(code));
  bits.put(length - kLengthBase[static_cast<std::size_t>(code)], kLengthExtra[static_cast<std::size_t>(code)]);
  int dcode = 29;
  while (kDistanceBase[static_cast<std::size_t>(dcode)] > distance) --dcode;
  bits.putCode(static_cast<std::uint32_t>(dcode), 5);
  bits.put(distance - kDistanceBase[static_cast<std::size_t>(dcode)], kDistanceExtra[static_cast<std::size_t>(dcode)]);
}

constexpr std::size_t kWindow = 32768;
constexpr unsigned kMaxMatch = 258;
constexpr int kHashBits = 15;
constexpr int kMaxChain = 48;

unsigned hashAt(const Bytes& data, std::size_t at) {
  const unsigned v = data[at] | (data[at + 1] << 8) | (data[at + 2] << 16);
  return (v * 2654435761u) >> (32 - kHashBits);
}

void putChunk(Bytes& out, const char* type, const Bytes& data) {
  putU32BigEndian(out, static_cast<std::uint32_t>(data.size()));
  Bytes typed(type, type + 4);
  append(typed, data);
  append(out, typed);
  putU32BigEndian(out, crc32(typed.data(), typed.size()));
}

}  // namespace

std::uint32_t crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (std::size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFFu] ^ (crc >> 8);
  return ~crc;
}

std::uint32_t adler32(const Bytes& data) {
  std::uint32_t a = 1;
  std::uint32_t b = 0;
  for (std::uint8_t byte : data) {
    a = (a + byte) % 65521u;
    b = (b + a) % 65521u;
  }
  return (b << 16) | a;
}

Bytes deflateCompress(const Bytes& data) {
  Bytes out{0x78, 0x9C};
  BitWriter bits(out);
  bits.put(1, 1);  // last block
  bits.put(1, 2);  // fixed Huffman codes
  std::vector<std::int64_t> head(std::size_t{1} << kHashBits, -1);
  // Chains of earlier positions with the same hash, kept for one window only.
  std::vector<std::int64_t> previous(kWindow, -1);
  auto remember = [&](std::size_t at) {
    if (at + 2 >= data.size()) return;
    const unsigned h = hashAt(data, at);
    previous[at % kWindow] = head[h];
    head[h] = static_cast<std::int64_t>(at);
  };
  std::size_t at = 0;
  while (at < data.size()) {
    unsigned bestLength = 0;
    std::size_t bestDistance = 0;
    if (at + 2 < data.size()) {
      std::int64_t candidate = head[hashAt(data, at)];
      const std::size_t limit = std::min<std::size_t>(kMaxMatch, data.size() - at);
      for (int chain = 0; chain < kMaxChain && candidate >= 0; ++chain) {
        const std::size_t from = static_cast<std::size_t>(candidate);
        if (at - from >= kWindow) break;
        unsigned length = 0;
        while (length < limit && data[from + length] == data[at + length]) ++length;
        if (length > bestLength) {
          bestLength = length;
          bestDistance = at - from;
          if (length == limit) break;
        }
        candidate = previous[from % kWindow];
      }
    }
    if (bestLength >= 3) {
      putMatch(bits, bestLength, static_cast<unsigned>(bestDistance));
      for (unsigned i = 0; i < bestLength; ++i) remember(at + i);
      at += bestLength;
    } else {
      putLiteral(bits, data[at]);
      remember(at);
      ++at;
    }
  }
  putLiteral(bits, 256);
  bits.finish();
  putU32BigEndian(out, adler32(data));
  return out;
}

Bytes encodePng(const RgbImage& image) {
  Bytes out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes header;
  putU32BigEndian(header, static_cast<std::uint32_t>(image.width));
  putU32BigEndian(header, static_cast<std::uint32_t>(image.height));
  for (unsigned v : {8u, 2u, 0u, 0u, 0u}) putU8(header, v);  // 8-bit RGB, no interlace
  putChunk(out, "IHDR", header);

  // Each row stored as its difference from the row above ("Up" filter): the
  // 3x enlarged art repeats rows, which then compress to almost nothing.
  const std::size_t stride = static_cast<std::size_t>(image.width) * 3;
  Bytes filtered;
  filtered.reserve((stride + 1) * static_cast<std::size_t>(image.height));
  for (int y = 0; y < image.height; ++y) {
    filtered.push_back(2);
    const std::size_t row = stride * static_cast<std::size_t>(y);
    for (std::size_t i = 0; i < stride; ++i) {
      const std::uint8_t above = y > 0 ? image.rgb[row - stride + i] : 0;
      filtered.push_back(static_cast<std::uint8_t>(image.rgb[row + i] - above));
    }
  }
  putChunk(out, "IDAT", deflateCompress(filtered));
  putChunk(out, "IEND", {});
  return out;
}

}  // namespace art
