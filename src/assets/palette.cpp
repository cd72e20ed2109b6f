#include "assets/palette.h"

#include <cstdlib>

#include "pet/desktop_pet.h"

namespace {
constexpr WORD PALETTE_VERSION = 0x300;
constexpr size_t HEADER_BYTES = 40;  // the colour table follows a plain BITMAPINFOHEADER
constexpr size_t MAX_COLOURS = 256;  // no art of ours has more; never read a table past that
}  // namespace

int32_t colourCount(const BITMAPINFOHEADER& header) {
  if (header.biClrUsed != 0) return static_cast<int32_t>(header.biClrUsed);
  switch (header.biBitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
  }
}

const BYTE* bitmapResourceBytes(HINSTANCE module, const char* name, DWORD* size) {
  *size = 0;
  HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(2) /* RT_BITMAP */);
  if (!found) return nullptr;
  HGLOBAL loaded = LoadResource(module, found);
  if (!loaded) return nullptr;
  *size = SizeofResource(module, found);
  return static_cast<const BYTE*>(LockResource(loaded));
}

void DesktopPet::buildPalette(HINSTANCE module) {
  DWORD size = 0;
  const BYTE* bytes = bitmapResourceBytes(module, "STAND1", &size);
  size_t entries = 0;
  if (bytes && size >= HEADER_BYTES) {
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(bytes);
    const int32_t count = colourCount(*header);
    const size_t available = (size - HEADER_BYTES) / 4;
    entries = count < 0 ? 0 : static_cast<size_t>(count);
    if (entries > MAX_COLOURS) entries = MAX_COLOURS;
    if (entries > available) entries = available;
  }

  auto* record = static_cast<LOGPALETTE*>(
      std::calloc(1, sizeof(LOGPALETTE) + entries * sizeof(PALETTEENTRY)));
  if (record) {
    record->palVersion = PALETTE_VERSION;
    record->palNumEntries = static_cast<WORD>(entries);
    for (size_t i = 0; i < entries; ++i) {
      const BYTE* quad = bytes + HEADER_BYTES + 4 * i;
      record->palPalEntry[i] = PALETTEENTRY{quad[2], quad[1], quad[0], PC_RESERVED};
    }
    palette = madeByPet(CreatePalette(record));
  }

  screenDC = madeByPet(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
  SetSystemPaletteUse(screenDC, SYSPAL_NOSTATIC);
  previousPalette = SelectPalette(screenDC, palette, FALSE);
  RealizePalette(screenDC);
  SetSystemPaletteUse(screenDC, SYSPAL_STATIC);
  std::free(record);
}

void DesktopPet::restorePalette() {
  if (!screenDC || !previousPalette) return;
  SelectPalette(screenDC, previousPalette, FALSE);
  RealizePalette(screenDC);
}
