// Runs the pet's real steps from a script and prints what each step did.
//   pet-trace.exe SEED X Y SCRIPT
// SCRIPT tokens: T (tick), K (arrow step), D:x,y (drag with the cursor at x,y),
// L R U N (arrow key-down left, right, up, down), and, before the first step,
// E:n (slot n holds no frames, as when its art is missing).
// Every change of the timer's period prints a line "timer <period>".
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "assets/animation_table.h"
#include "pet/desktop_pet.h"
#include "test_support.h"

namespace {

HWND makeWindow(HINSTANCE instance) {
  registerWindowClass(L"MorvetTrace", DefWindowProcW);
  return CreateWindowExW(0, L"MorvetTrace", L"trace", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                         instance, nullptr);
}

void printStep(const DesktopPet& pet, char token) {
  std::printf("%c %d %d %d %d %d %d %d %d %d %d %d\n", token, pet.animation, framePosition(pet),
              pet.x, pet.y, pet.velocityX, pet.velocityY, pet.targetX, pet.targetY,
              pet.behaviourTicks, pet.motionKind, pet.facing);
}

UINT_PTR WINAPI printingSetTimer(HWND window, UINT_PTR id, UINT period, TIMERPROC procedure) {
  std::printf("timer %u\n", period);
  return SetTimer(window, id, period, procedure);
}

void emptySlot(DesktopPet& pet, int32_t slotIndex) {
  AnimationList& head = pet.animations[slotIndex];
  for (FrameNode* node = head.next; node;) {
    FrameNode* next = node->next;
    DeleteObject(node->bitmap);
    delete node;
    node = next;
  }
  head.next = nullptr;
  head.previous = nullptr;
}

bool runToken(DesktopPet& pet, const std::string& token, bool stepped) {
  if (token.size() > 2 && token.compare(0, 2, "E:") == 0) {
    const int slotIndex = std::atoi(token.c_str() + 2);
    if (stepped || slotIndex < 0 || slotIndex >= slot::COUNT) {
      return false;
    }
    emptySlot(pet, slotIndex);
  } else if (token == "T") {
    pet.PetStep(Tick);
    printStep(pet, 'T');
  } else if (token == "K") {
    pet.PetStep(KeyStep);
    printStep(pet, 'K');
  } else if (token.size() > 2 && token.compare(0, 2, "D:") == 0) {
    int cursorX = 0;
    int cursorY = 0;
    if (std::sscanf(token.c_str() + 2, "%d,%d", &cursorX, &cursorY) != 2) return false;
    SetCursorPos(cursorX, cursorY);
    pet.PetStep(Drag);
    printStep(pet, 'D');
  } else if (token == "L" || token == "R" || token == "U" || token == "N") {
    const std::string order = "LRUN";
    pet.setKeyDirection(static_cast<int32_t>(order.find(token)) + 1);
  } else {
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: pet-trace SEED X Y SCRIPT\n");
    return 2;
  }
  const auto seed = static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10));
  HINSTANCE instance = GetModuleHandleW(nullptr);
  DesktopPet pet(7, Tick, 70, seed);
  HWND window = makeWindow(instance);
  pet.buildPalette(instance);
  pet.attach(instance, window);
  for (const AnimationEntry& entry : animationTable) {
    pet.loadAnimation(entry.name, entry.frameCount, entry.slot, entry.motionKind);
  }
  pet.currentFrame = &pet.animations[slot::STAND];
  pet.animation = slot::STAND;
  pet.motionKind = motion::STANDS;
  pet.spriteWidth = 100;
  pet.spriteHeight = 105;
  pet.x = std::atoi(argv[2]);
  pet.y = std::atoi(argv[3]);

  std::printf("init %d %d %d %d %d\n", pet.screenWidth, pet.screenHeight, pet.targetX,
              pet.targetY, pet.timerId);
  petSetTimer = printingSetTimer;
  std::istringstream script(argv[4]);
  std::string token;
  bool stepped = false;
  while (script >> token) {
    if (!runToken(pet, token, stepped)) {
      std::fprintf(stderr, "pet-trace: unknown token '%s'\n", token.c_str());
      return 2;
    }
    stepped = stepped || token == "T" || token == "K" || token[0] == 'D';
  }
  std::fflush(stdout);
  return 0;
}
