#include <gtest/gtest.h>

#include <set>
#include <string>

#include "assets/palette.h"
#include "pet/desktop_pet.h"
#include "test_support.h"

namespace {

HINSTANCE thisModule() { return GetModuleHandleW(nullptr); }

class LoadedPet {
 public:
  explicit LoadedPet(HINSTANCE module) : pet(7, Tick, 70, 5u) {
    pet.buildPalette(module);
    pet.attach(module, window.handle());
  }
  void loadAll() {
    for (const AnimationEntry& entry : animationTable) {
      pet.loadAnimation(entry.name, entry.frameCount, entry.slot, entry.motionKind);
    }
  }
  TestWindow window;
  DesktopPet pet;
};

// Counts the memory display contexts the pet makes. While frames are loaded on
// a palette display it makes one for each frame it redraws through its palette.
int memoryContextsMade = 0;
HGDIOBJ countingMemoryContexts(HGDIOBJ made) {
  if (made && GetObjectType(made) == OBJ_MEMDC) ++memoryContextsMade;
  return made;
}
class CountedMemoryContexts {
 public:
  CountedMemoryContexts() {
    memoryContextsMade = 0;
    petSystem.madeObject = countingMemoryContexts;
  }
  int made() const { return memoryContextsMade; }

 private:
  SystemStandIns standIns_;
};

int displayDepth() {
  HDC screen = GetDC(nullptr);
  const int depth = GetDeviceCaps(screen, BITSPIXEL);
  ReleaseDC(nullptr, screen);
  return depth;
}

std::vector<FrameNode*> walk(const AnimationList& head) {
  std::vector<FrameNode*> nodes;
  for (FrameNode* node = head.next; node; node = node->next) nodes.push_back(node);
  return nodes;
}

TEST(ColourCount, UsesTheCountGivenOrTheFullTableForTheDepth) {
  BITMAPINFOHEADER header{};
  header.biBitCount = 8;
  EXPECT_EQ(colourCount(header), 256);
  header.biClrUsed = 16;
  EXPECT_EQ(colourCount(header), 16);
  header.biClrUsed = 0;
  header.biBitCount = 1;
  EXPECT_EQ(colourCount(header), 2);
  header.biBitCount = 4;
  EXPECT_EQ(colourCount(header), 16);
  header.biBitCount = 24;
  EXPECT_EQ(colourCount(header), 0);
}

TEST(PaletteDepth, IsStandsColourTableWithReservedEntries) {
  LoadedPet loaded(thisModule());
  DesktopPet& pet = loaded.pet;
  ASSERT_NE(pet.palette, nullptr);
  ASSERT_NE(pet.screenDC, nullptr);
  EXPECT_EQ(pet.drawing.displayBitsPerPixel, displayDepth()) << "attach reads the display's depth";
  if (displayDepth() > 8) {
    EXPECT_EQ(pet.previousPalette, GetStockObject(DEFAULT_PALETTE));
  }

  DWORD size = 0;
  const BYTE* stand = bitmapResourceBytes(thisModule(), "STAND1", &size);
  ASSERT_NE(stand, nullptr);
  PALETTEENTRY entries[257] = {};
  ASSERT_EQ(GetPaletteEntries(pet.palette, 0, 257, entries), 256u);
  for (int i = 0; i < 256; ++i) {
    const BYTE* quad = stand + 40 + 4 * i;
    EXPECT_EQ(entries[i].peRed, quad[2]);
    EXPECT_EQ(entries[i].peGreen, quad[1]);
    EXPECT_EQ(entries[i].peBlue, quad[0]);
    EXPECT_EQ(entries[i].peFlags, PC_RESERVED);
  }
  EXPECT_EQ(entries[88].peRed, 4);
  EXPECT_EQ(entries[88].peGreen, 76);
  EXPECT_EQ(entries[88].peBlue, 44);
}

TEST(FrameListsDepth, TheEightLoadsFillTheirSlotsInOrder) {
  LoadedPet loaded(thisModule());
  DesktopPet& pet = loaded.pet;
  CountedMemoryContexts redraws;
  loaded.loadAll();

  std::set<HBITMAP> bitmaps;
  for (const AnimationEntry& entry : animationTable) {
    const AnimationList& head = pet.drawing.animations[entry.slot];
    const std::vector<FrameNode*> nodes = walk(head);
    ASSERT_EQ(nodes.size(), static_cast<size_t>(entry.frameCount)) << entry.name;
    EXPECT_EQ(head.previous, nodes.back()) << entry.name;
    EXPECT_EQ(nodes.front()->previous, nullptr);
    for (size_t k = 1; k < nodes.size(); ++k) EXPECT_EQ(nodes[k]->previous, nodes[k - 1]);
    EXPECT_EQ(pet.motionKinds[entry.slot], entry.motionKind);
    for (FrameNode* node : nodes) {
      BITMAP info{};
      ASSERT_EQ(GetObjectW(node->bitmap, sizeof info, &info), static_cast<int>(sizeof info));
      EXPECT_EQ(info.bmWidth, 100);
      EXPECT_EQ(info.bmHeight, 105);
      EXPECT_EQ(info.bmBitsPixel, displayDepth()) << "frames are in the display's format";
      bitmaps.insert(node->bitmap);
    }
  }
  EXPECT_EQ(bitmaps.size(), 29u);
  for (int32_t empty : {7, 8, 9, 10, 12}) {
    EXPECT_EQ(pet.drawing.animations[empty].next, nullptr);
    EXPECT_EQ(pet.drawing.animations[empty].previous, nullptr);
    EXPECT_EQ(pet.motionKinds[empty], motion::STANDS);
  }
  EXPECT_EQ(pet.drawing.maxFramePixels, 10500);
  EXPECT_EQ(redraws.made(), displayDepth() == 8 ? 29 : 0) << "frames redrawn through the palette";

  pet.releaseAnimations();
  for (HBITMAP bitmap : bitmaps) EXPECT_EQ(GetObjectType(bitmap), 0u);
}

TEST(FrameLists, FramesFollowTheirResourceNamesInOrder) {
  if (displayDepth() == 8) GTEST_SKIP() << "the palette path redraws the frames";
  LoadedPet loaded(thisModule());
  loaded.loadAll();
  const std::vector<FrameNode*> walkFrames = walk(loaded.pet.drawing.animations[slot::WALK]);
  for (size_t k = 0; k < walkFrames.size(); ++k) {
    const std::string name = "WALK" + std::to_string(k + 1);
    HBITMAP fresh = LoadBitmapA(thisModule(), name.c_str());
    std::vector<BYTE> expected(100 * 105 * 4), actual(100 * 105 * 4);
    GetBitmapBits(fresh, expected.size(), expected.data());
    GetBitmapBits(walkFrames[k]->bitmap, actual.size(), actual.data());
    EXPECT_EQ(actual, expected) << name;
    DeleteObject(fresh);
  }
}

TEST(FrameLists, AnEmptyLoadPointsTheHeadAtItself) {
  LoadedPet loaded(thisModule());
  loaded.pet.loadAnimation("WALK", 0, 8, motion::WALKS);
  EXPECT_EQ(loaded.pet.drawing.animations[8].next, nullptr);
  EXPECT_EQ(loaded.pet.drawing.animations[8].previous, &loaded.pet.drawing.animations[8]);
  EXPECT_EQ(loaded.pet.motionKinds[8], motion::WALKS);
}

// The test resource set lacks WALK3, HI1, NO2, NO5 and RIGHT3.
TEST(FrameListsDepth, MissingFramesAreReportedAndTheirListsRebuilt) {
  HMODULE holes = LoadLibraryW(L"missing-frames.dll");
  ASSERT_NE(holes, nullptr);
  MessageBoxWatcher boxes;
  LoadedPet loaded(holes);
  DesktopPet& pet = loaded.pet;
  HDC firstScreenDC = pet.screenDC;
  CountedMemoryContexts redraws;
  loaded.loadAll();

  ASSERT_EQ(boxes.shown().size(), 5u);
  for (const ShownMessage& shown : boxes.shown()) {
    EXPECT_EQ(shown.text, L"資料有問題,請重新下載");
    EXPECT_EQ(shown.caption, L".....");
    EXPECT_TRUE(shown.owner == nullptr || shown.owner == GetDesktopWindow())
        << "owned by the desktop, not by the pet";
  }
  EXPECT_EQ(loaded.window.destroyMessages(), 5);
  EXPECT_EQ(pet.screenDC, nullptr);
  EXPECT_EQ(GetObjectType(firstScreenDC), 0u) << "the display context is deleted";

  const AnimationList& walkHead = pet.drawing.animations[slot::WALK];
  const std::vector<FrameNode*> walking = walk(walkHead);
  ASSERT_EQ(walking.size(), 2u) << "frames 4 and 5 load into the emptied list";
  EXPECT_EQ(walking[0]->previous, &walkHead);
  EXPECT_EQ(walkHead.previous, walking[1]);

  EXPECT_EQ(walk(pet.drawing.animations[slot::HI]).size(), 4u)
      << "a missing first frame costs only itself";
  EXPECT_EQ(walk(pet.drawing.animations[slot::NO]).size(), 1u) << "only NO6 follows the last hole";
  EXPECT_EQ(pet.drawing.animations[slot::RIGHT].next, nullptr);
  EXPECT_EQ(pet.drawing.animations[slot::RIGHT].previous, &pet.drawing.animations[slot::RIGHT]);
  EXPECT_EQ(walk(pet.drawing.animations[slot::STAND]).size(), 1u);
  if (displayDepth() == 8) {
    EXPECT_EQ(redraws.made(), 3) << "after the first hole no display context is left";
  }
  pet.releaseAnimations();
  FreeLibrary(holes);
}

TEST(FrameLists, WithoutStandingArtThePetEndsWithoutDrawing) {
  MessageBoxWatcher boxes;
  TimerRecorder timers;
  LoadedPet loaded(thisModule());
  DesktopPet& pet = loaded.pet;
  pet.loadAnimation("NOSUCHART", 1, slot::STAND, motion::STANDS);
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(loaded.window.destroyMessages(), 1);
  pet.settle();
  EXPECT_EQ(pet.drawing.frameDC, nullptr) << "nothing to size the surfaces by";
  EXPECT_TRUE(timers.calls().empty());
  pet.PetStep(Tick);
  pet.PetStep(Tick);
  EXPECT_EQ(pet.currentFrame, &pet.drawing.animations[slot::STAND]);
}

}  // namespace

namespace {

TEST(Settling, ADepthItCannotServeIsReportedAndTheProgramEnds) {
  MessageBoxWatcher boxes;
  TimerRecorder timers;
  LoadedPet loaded(thisModule());
  DesktopPet& pet = loaded.pet;
  loaded.loadAll();
  FrameNode* standing = pet.drawing.animations[slot::STAND].next;
  DeleteObject(standing->bitmap);
  standing->bitmap = CreateBitmap(100, 105, 1, 1, nullptr);  // one bit per pixel
  pet.settle();
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxes.shown()[0].text, L"我不認識你的電腦啦!!!");
  EXPECT_EQ(boxes.shown()[0].caption, L"霜牙說");
  EXPECT_EQ(loaded.window.destroyMessages(), 1);
  EXPECT_EQ(pet.drawing.bytesPerPixel, 0) << "no depth the merge could be asked to serve";
  EXPECT_EQ(timers.calls().size(), 1u) << "settling still runs to its end";
  // Until the program ends, steps at that depth show nothing: a merge there
  // would read and write past the pixel buffers.
  SystemStandIns standIns;
  static int paints = 0;
  paints = 0;
  petSystem.paintWindow = [](HDC, int, int, int, int, HDC, int, int, DWORD) -> BOOL { return ++paints; };
  pet.PetStep(Tick);
  pet.PetStep(Tick);
  EXPECT_EQ(paints, 0);
}

TEST(Settling, ARefusedTimerIsReportedButThePetStays) {
  MessageBoxWatcher boxes;
  TimerRecorder timers;
  timers.refuse(true);
  LoadedPet loaded(thisModule());
  loaded.loadAll();
  loaded.pet.settle();
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxes.shown()[0].text, L"我很累..不要玩我");
  EXPECT_EQ(boxes.shown()[0].caption, L"霜牙說");
  EXPECT_EQ(boxes.shown()[0].owner, nullptr);
  EXPECT_EQ(loaded.window.destroyMessages(), 0);
  EXPECT_NE(loaded.pet.drawing.frameDC, nullptr);
}

}  // namespace
