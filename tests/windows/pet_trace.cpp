// Runs the pet's real steps from a script and prints what each step did.
//   pet-trace.exe SEED X Y SCRIPT [MONITOR [WORK [SCALE]]]
// MONITOR and WORK ("left,top,width,height", screen pixels) are the monitor the
// pet stands on and its work area (the whole monitor unless given); without
// them the pet asks the system. SCALE is the display's whole-number scale, 1
// unless given. The cursor of a drag is the script's, not the system's, kept on
// the stated monitor as the system keeps a real one: each coordinate goes to the
// monitor's nearest pixel (on the system's virtual screen without MONITOR). All
// that is printed, and the script's X, Y and cursor, are in the pet's pixels.
// SCRIPT tokens: T (tick), K (arrow step), D:x,y (drag with the cursor at x,y),
// L R U N (arrow key-down left, right, up, down), and, before the first step,
// E:n (slot n holds no frames, as when its art is missing).
// Every change of the timer's period prints a line "timer <period>".
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

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

PetArea statedArea{};
POINT scriptCursor{};
// Where the cursor can be, in screen pixels: the stated monitor, or without one
// the system's virtual screen.
PixelRect cursorBounds{};
// Screen pixels to each of the pet's: the script's cursor is in the pet's pixels.
int32_t traceScale = 1;

int32_t statedDpi(const PixelRect&) { return 96 * traceScale; }

bool statedAreaOf(const PixelRect&, PetArea* area) {
  *area = statedArea;
  return true;
}

// The pixel of first .. first + count - 1 nearest to value, as the system keeps a cursor.
int32_t nearestPixel(int32_t value, int32_t first, int32_t count) {
  if (value < first) return first;
  if (value > first + count - 1) return first + count - 1;
  return value;
}

BOOL WINAPI scriptCursorPos(LPPOINT point) {
  *point = scriptCursor;
  return TRUE;
}

bool readRect(const char* text, PixelRect* rect) {
  return std::sscanf(text, "%d,%d,%d,%d", &rect->left, &rect->top, &rect->width, &rect->height) ==
         4;
}

UINT_PTR WINAPI printingSetTimer(HWND window, UINT_PTR id, UINT period, TIMERPROC procedure) {
  std::printf("timer %u\n", period);
  return SetTimer(window, id, period, procedure);
}

// Slot n of an "E:n" token, or -1 when the token is not one.
int emptiedSlot(const std::string& token) {
  if (token.size() < 3 || token.compare(0, 2, "E:") != 0) return -1;
  const int slotIndex = std::atoi(token.c_str() + 2);
  return slotIndex >= 0 && slotIndex < slot::COUNT ? slotIndex : -1;
}

bool runToken(DesktopPet& pet, const std::string& token) {
  if (token == "T") {
    pet.PetStep(Tick);
    printStep(pet, 'T');
  } else if (token == "K") {
    pet.PetStep(KeyStep);
    printStep(pet, 'K');
  } else if (token.size() > 2 && token.compare(0, 2, "D:") == 0) {
    int cursorX = 0;
    int cursorY = 0;
    if (std::sscanf(token.c_str() + 2, "%d,%d", &cursorX, &cursorY) != 2) return false;
    scriptCursor = {nearestPixel(cursorX * traceScale, cursorBounds.left, cursorBounds.width),
                    nearestPixel(cursorY * traceScale, cursorBounds.top, cursorBounds.height)};
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
  if (argc < 5 || argc > 8) {
    std::fprintf(stderr, "usage: pet-trace SEED X Y SCRIPT [MONITOR [WORK [SCALE]]]\n");
    return 2;
  }
  if (argc == 8) {
    traceScale = std::atoi(argv[7]);
    if (traceScale < 1) return 2;
    petSystem.readDpi = statedDpi;
  }
  if (argc >= 6) {
    if (!readRect(argv[5], &statedArea.monitor)) return 2;
    statedArea.work = statedArea.monitor;
    if (argc >= 7 && !readRect(argv[6], &statedArea.work)) return 2;
    petSystem.findArea = statedAreaOf;
    cursorBounds = statedArea.monitor;
  } else {
    cursorBounds = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                    GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  }
  petSystem.getCursorPos = scriptCursorPos;
  const auto seed = static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10));
  HINSTANCE instance = GetModuleHandleW(nullptr);
  DesktopPet pet(7, Tick, 70, seed);
  HWND window = makeWindow(instance);
  pet.buildPalette(instance);
  pet.attach(instance, window);

  std::istringstream script(argv[4]);
  std::vector<std::string> tokens;
  for (std::string token; script >> token;) tokens.push_back(token);
  // Leading E:n tokens: those slots are loaded with no frames, as broken art leaves them.
  bool emptied[slot::COUNT] = {};
  size_t first = 0;
  for (; first < tokens.size() && emptiedSlot(tokens[first]) >= 0; ++first) {
    emptied[emptiedSlot(tokens[first])] = true;
  }
  for (const AnimationEntry& entry : animationTable) {
    pet.loadAnimation(entry.name, emptied[entry.slot] ? 0 : entry.frameCount, entry.slot,
                      entry.motionKind);
  }
  pet.currentFrame = &pet.drawing.animations[slot::STAND];
  pet.animation = slot::STAND;
  pet.motionKind = motion::STANDS;
  pet.spriteWidth = 100;
  pet.spriteHeight = 105;
  pet.x = std::atoi(argv[2]);
  pet.y = std::atoi(argv[3]);

  std::printf("init %d %d %d %d %d\n", pet.home.work.width, pet.home.work.height, pet.targetX,
              pet.targetY, pet.timerId);
  petSystem.setTimer = printingSetTimer;
  for (size_t next = first; next < tokens.size(); ++next) {
    if (!runToken(pet, tokens[next])) {
      std::fprintf(stderr, "pet-trace: unknown token '%s'\n", tokens[next].c_str());
      return 2;
    }
  }
  std::fflush(stdout);
  return 0;
}
