#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "art/art.h"
#include "art/bytes.h"
#include "art/palette.h"

namespace {

using art::Bytes;
using art::readU16;
using art::readU32;

const std::string kRoot = MORVET_SOURCE_DIR;
const std::string kResources = kRoot + "/resources/";

Bytes readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct AnimationFiles {
  const char* name;
  int frames;
};

const AnimationFiles kAnimations[] = {{"STAND", 1}, {"WALK", 5},  {"ACT", 2}, {"FAILED", 5},
                                      {"HAPPY", 2}, {"HI", 5},    {"NO", 6},  {"RIGHT", 3}};

std::vector<std::string> framePaths() {
  std::vector<std::string> paths;
  for (const AnimationFiles& animation : kAnimations)
    for (int i = 1; i <= animation.frames; ++i)
      paths.push_back(kResources + "art/" + animation.name + std::to_string(i) + ".bmp");
  return paths;
}

constexpr std::size_t kHeader = 14;  // the file header the resource compiler strips
constexpr std::size_t kTable = kHeader + 40;
constexpr std::size_t kPixels = kTable + 1024;
constexpr int kWidth = 100;
constexpr int kHeight = 105;

art::Rgb tableColour(const Bytes& file, std::size_t table, int index) {
  const std::size_t at = table + static_cast<std::size_t>(index) * 4;
  return {file[at + 2], file[at + 1], file[at]};
}

// Pixel (x, y) counted from the top, in a bottom-up 8-bit bitmap.
std::uint8_t framePixel(const Bytes& file, int x, int y) {
  return file[kPixels + static_cast<std::size_t>((kHeight - 1 - y) * kWidth + x)];
}

TEST(ArtGenerator, RegeneratesTheCommittedResourcesByteForByte) {
  const std::vector<art::GeneratedFile> files = art::generateArt();
  EXPECT_EQ(files.size(), 29u + 5u);
  for (const art::GeneratedFile& file : files) {
    const Bytes committed = readFile(kResources + file.path);
    EXPECT_TRUE(committed == file.bytes) << file.path << " differs from the generator; run morvet-artgen";
  }
}

TEST(ArtGenerator, ContactSheetIsCurrent) {
  EXPECT_TRUE(readFile(kRoot + "/docs/contact-sheet.png") == art::drawContactSheet());
}

TEST(ArtFrames, EachFileHasTheBitmapLayout) {
  for (const std::string& path : framePaths()) {
    SCOPED_TRACE(path);
    const Bytes file = readFile(path);
    ASSERT_EQ(file.size(), 11580u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(readU32(file, 2), 11580u);
    EXPECT_EQ(readU32(file, 6), 0u);
    EXPECT_EQ(readU32(file, 10), 1078u);
    const std::vector<std::uint32_t> header{readU32(file, kHeader),      readU32(file, kHeader + 4),
                                            readU32(file, kHeader + 8),  readU16(file, kHeader + 12),
                                            readU16(file, kHeader + 14), readU32(file, kHeader + 16),
                                            readU32(file, kHeader + 20), readU32(file, kHeader + 24),
                                            readU32(file, kHeader + 28), readU32(file, kHeader + 32),
                                            readU32(file, kHeader + 36)};
    EXPECT_EQ(header, (std::vector<std::uint32_t>{40, 100, 105, 1, 8, 0, 0, 2834, 2834, 0, 0}));
    EXPECT_EQ(readU16(file, file.size() - 2), 0u);
  }
}

TEST(ArtFrames, ShareOnePaletteWithAUniqueKey) {
  const std::vector<std::string> paths = framePaths();
  const Bytes first = readFile(paths.front());
  ASSERT_EQ(first.size(), 11580u);
  const Bytes table(first.begin() + kTable, first.begin() + kPixels);
  for (const std::string& path : paths) {
    const Bytes file = readFile(path);
    ASSERT_EQ(file.size(), 11580u) << path;
    EXPECT_TRUE(Bytes(file.begin() + kTable, file.begin() + kPixels) == table) << path;
  }

  EXPECT_EQ(Bytes(table.begin() + 88 * 4, table.begin() + 89 * 4), (Bytes{44, 76, 4, 0}));
  std::set<std::tuple<int, int, int>> seen;
  for (int i = 0; i < 256; ++i) {
    const art::Rgb colour = tableColour(first, kTable, i);
    EXPECT_EQ(table[static_cast<std::size_t>(i) * 4 + 3], 0) << "entry " << i;
    seen.insert({colour.r, colour.g, colour.b});
    if (i != 88) {
      EXPECT_FALSE(art::reducesOntoKey(colour)) << "entry " << i << " turns transparent";
    }
  }
  EXPECT_EQ(seen.size(), 256u);
}

TEST(ArtFrames, ReductionCheckCatchesNearKeyColours) {
  EXPECT_TRUE(art::reducesOntoKey(art::kKeyColour));
  // Equal to the key only when low bits are cut.
  EXPECT_TRUE(art::reducesOntoKey({7, 79, 47}));
  EXPECT_NE(art::reduce({7, 79, 47}, art::Reduction::Round565), art::reduce(art::kKeyColour, art::Reduction::Round565));
  // Equal to the key only when rounded to 5-6-5.
  EXPECT_TRUE(art::reducesOntoKey({9, 75, 45}));
  EXPECT_NE(art::reduce({9, 75, 45}, art::Reduction::Cut565), art::reduce(art::kKeyColour, art::Reduction::Cut565));
  EXPECT_FALSE(art::reducesOntoKey({12, 76, 44}));
}

TEST(ArtFrames, FigureStaysInsideAKeyBorder) {
  for (const std::string& path : framePaths()) {
    SCOPED_TRACE(path);
    const Bytes file = readFile(path);
    ASSERT_EQ(file.size(), 11580u);
    EXPECT_EQ(file[kPixels + static_cast<std::size_t>((kHeight - 1) * kWidth)], 88) << "top-left pixel";
    int border = 0;
    int figure = 0;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const bool edge = x == 0 || y == 0 || x == kWidth - 1 || y == kHeight - 1;
        if (edge && framePixel(file, x, y) != 88) ++border;
        if (framePixel(file, x, y) != 88) ++figure;
      }
    }
    EXPECT_EQ(border, 0);
    EXPECT_GT(figure, 1500) << "the pup is missing";
  }
}

TEST(ArtIcon, IsOne32x32EightBitImageWithMask) {
  const Bytes icon = readFile(kResources + "frostfang.ico");
  const std::size_t body = 6 + 16;
  ASSERT_EQ(icon.size(), body + 40 + 1024 + 32 * 32 + 4 * 32);
  EXPECT_EQ(readU16(icon, 0), 0u);
  EXPECT_EQ(readU16(icon, 2), 1u);
  EXPECT_EQ(readU16(icon, 4), 1u);
  EXPECT_EQ((Bytes{icon[6], icon[7], icon[8], icon[9]}), (Bytes{32, 32, 0, 0}));
  EXPECT_EQ(readU16(icon, 10), 1u);
  EXPECT_EQ(readU16(icon, 12), 8u);
  EXPECT_EQ(readU32(icon, 14), icon.size() - body);
  EXPECT_EQ(readU32(icon, 18), body);
  EXPECT_EQ(readU32(icon, body), 40u);
  EXPECT_EQ(readU32(icon, body + 4), 32u);
  EXPECT_EQ(readU32(icon, body + 8), 64u);
  EXPECT_EQ(readU16(icon, body + 12), 1u);
  EXPECT_EQ(readU16(icon, body + 14), 8u);
  // The mask lets the corners show through and covers the head's centre.
  const std::size_t mask = body + 40 + 1024 + 32 * 32;
  EXPECT_EQ(icon[mask + 31 * 4] & 0x80, 0x80) << "top-left corner";
  EXPECT_EQ(icon[mask + 16 * 4 + 2], 0) << "centre";
}

struct CursorFiles {
  Bytes oneBit = readFile(kResources + "cursor/cursor-1bit.bin");
  Bytes eightBit = readFile(kResources + "cursor/cursor-8bit.bin");
  Bytes group = readFile(kResources + "cursor/cursor-group.bin");
  Bytes file = readFile(kResources + "frostfang.cur");
};

void expectCursorImage(const Bytes& resource, unsigned bits, std::size_t colours) {
  const std::size_t maskRows = 4 * 32;
  ASSERT_EQ(resource.size(), 4 + 40 + colours * 4 + 32 * 32 * bits / 8 + maskRows);
  EXPECT_EQ(readU16(resource, 0), 5u);
  EXPECT_EQ(readU16(resource, 2), 8u);
  EXPECT_EQ(readU32(resource, 4), 40u);
  EXPECT_EQ(readU32(resource, 8), 32u);
  EXPECT_EQ(readU32(resource, 12), 64u);
  EXPECT_EQ(readU16(resource, 16), 1u);
  EXPECT_EQ(readU16(resource, 18), bits);
  // The hot spot must sit on a drawn pixel, not on the see-through part.
  const std::size_t mask = resource.size() - maskRows;
  EXPECT_EQ(resource[mask + (31 - 8) * 4] & (0x80 >> 5), 0);
}

TEST(ArtCursor, ImagesCarryTheHotSpotAndTheirDepth) {
  const CursorFiles cursor;
  expectCursorImage(cursor.oneBit, 1, 2);
  expectCursorImage(cursor.eightBit, 8, 256);
  EXPECT_EQ(readU32(cursor.oneBit, 4 + 40), 0x000000u);
  EXPECT_EQ(readU32(cursor.oneBit, 4 + 44), 0xFFFFFFu);
}

TEST(ArtCursor, GroupNamesBothImagesBySizeAndId) {
  const CursorFiles cursor;
  ASSERT_EQ(cursor.group.size(), 6u + 2 * 14);
  EXPECT_EQ(readU16(cursor.group, 0), 0u);
  EXPECT_EQ(readU16(cursor.group, 2), 2u);
  EXPECT_EQ(readU16(cursor.group, 4), 2u);
  const Bytes* images[2] = {&cursor.oneBit, &cursor.eightBit};
  const unsigned bits[2] = {1, 8};
  const unsigned ids[2] = {2, 3};
  for (std::size_t i = 0; i < 2; ++i) {
    const std::size_t entry = 6 + 14 * i;
    EXPECT_EQ(readU16(cursor.group, entry), 32u);
    EXPECT_EQ(readU16(cursor.group, entry + 2), 64u);
    EXPECT_EQ(readU16(cursor.group, entry + 4), 1u);
    EXPECT_EQ(readU16(cursor.group, entry + 6), bits[i]);
    EXPECT_EQ(readU32(cursor.group, entry + 8), images[i]->size());
    EXPECT_EQ(readU16(cursor.group, entry + 12), ids[i]);
  }
}

TEST(ArtCursor, CurFileHoldsTheSameImages) {
  const CursorFiles cursor;
  ASSERT_GE(cursor.file.size(), 6u + 2 * 16);
  EXPECT_EQ(readU16(cursor.file, 2), 2u);
  EXPECT_EQ(readU16(cursor.file, 4), 2u);
  const Bytes* images[2] = {&cursor.oneBit, &cursor.eightBit};
  for (std::size_t i = 0; i < 2; ++i) {
    const std::size_t entry = 6 + 16 * i;
    EXPECT_EQ(cursor.file[entry], 32);
    EXPECT_EQ(cursor.file[entry + 1], 32);
    EXPECT_EQ(readU16(cursor.file, entry + 4), 5u);
    EXPECT_EQ(readU16(cursor.file, entry + 6), 8u);
    const std::size_t size = readU32(cursor.file, entry + 8);
    const std::size_t offset = readU32(cursor.file, entry + 12);
    ASSERT_LE(offset + size, cursor.file.size());
    // A resource body is the .cur image with the hot spot in front.
    EXPECT_TRUE(Bytes(cursor.file.begin() + static_cast<long>(offset),
                      cursor.file.begin() + static_cast<long>(offset + size)) ==
                Bytes(images[i]->begin() + 4, images[i]->end()));
  }
}

}  // namespace
