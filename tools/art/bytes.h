#pragma once
#include <cstdint>
#include <vector>

namespace art {

using Bytes = std::vector<std::uint8_t>;

inline void putU8(Bytes& out, unsigned value) { out.push_back(static_cast<std::uint8_t>(value & 0xFFu)); }

inline void putU16(Bytes& out, unsigned value) {
  putU8(out, value);
  putU8(out, value >> 8);
}

inline void putU32(Bytes& out, std::uint32_t value) {
  putU16(out, value & 0xFFFFu);
  putU16(out, value >> 16);
}

inline void putU32BigEndian(Bytes& out, std::uint32_t value) {
  putU8(out, value >> 24);
  putU8(out, value >> 16);
  putU8(out, value >> 8);
  putU8(out, value);
}

inline void append(Bytes& out, const Bytes& more) { out.insert(out.end(), more.begin(), more.end()); }

inline unsigned readU16(const Bytes& in, std::size_t at) { return in[at] | (in[at + 1] << 8); }

inline std::uint32_t readU32(const Bytes& in, std::size_t at) {
  return readU16(in, at) | (static_cast<std::uint32_t>(readU16(in, at + 2)) << 16);
}

}  // namespace art
