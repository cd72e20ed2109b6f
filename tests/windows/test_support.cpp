#include "test_support.h"

#include "pet/random.h"

namespace {

int destroyCount = 0;

LRESULT CALLBACK countingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) ++destroyCount;
  return DefWindowProcW(window, message, wParam, lParam);
}

const wchar_t* testWindowClass() {
  static bool registered = false;
  if (!registered) {
    registerWindowClass(L"MorvetTestWindow", countingProc);
    registered = true;
  }
  return L"MorvetTestWindow";
}

std::vector<TimerCall> timerCalls;
bool refuseTimers = false;

UINT_PTR WINAPI recordingSetTimer(HWND window, UINT_PTR id, UINT period, TIMERPROC proc) {
  timerCalls.push_back({window, id, period});
  if (refuseTimers) return 0;
  return SetTimer(window, id, period, proc);
}

std::vector<ShownMessage> messages;
HHOOK cbtHook = nullptr;

std::wstring windowText(HWND window) {
  wchar_t text[512] = L"";
  GetWindowTextW(window, text, 512);
  return text;
}

BOOL CALLBACK collectStaticText(HWND child, LPARAM found) {
  wchar_t className[32] = L"";
  GetClassNameW(child, className, 32);
  if (lstrcmpiW(className, L"Static") == 0) {
    std::wstring text = windowText(child);
    auto* longest = reinterpret_cast<std::wstring*>(found);
    if (text.size() > longest->size()) *longest = text;
  }
  return TRUE;
}

LRESULT CALLBACK closeMessageBoxes(int code, WPARAM wParam, LPARAM lParam) {
  if (HWND box = dialogActivated(code, wParam)) {
    std::wstring text;
    EnumChildWindows(box, collectStaticText, reinterpret_cast<LPARAM>(&text));
    messages.push_back({text, windowText(box), GetWindow(box, GW_OWNER)});
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  }
  return CallNextHookEx(cbtHook, code, wParam, lParam);
}

}  // namespace

HWND dialogActivated(int code, WPARAM wParam) {
  if (code != HCBT_ACTIVATE) return nullptr;
  HWND window = reinterpret_cast<HWND>(wParam);
  wchar_t className[16] = L"";
  GetClassNameW(window, className, 16);
  return lstrcmpW(className, L"#32770") == 0 ? window : nullptr;
}

void registerWindowClass(const wchar_t* name, WNDPROC procedure) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  windowClass.lpszClassName = name;
  RegisterClassExW(&windowClass);
}

TestWindow::TestWindow() {
  destroyCount = 0;
  window_ = CreateWindowExW(0, testWindowClass(), L"test", WS_POPUP, 0, 0, 10, 10, nullptr,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
}

TestWindow::~TestWindow() { DestroyWindow(window_); }

int TestWindow::destroyMessages() const { return destroyCount; }

TimerRecorder::TimerRecorder() {
  timerCalls.clear();
  refuseTimers = false;
  petSystem.setTimer = recordingSetTimer;
}

const std::vector<TimerCall>& TimerRecorder::calls() const { return timerCalls; }

void TimerRecorder::refuse(bool refuse) { refuseTimers = refuse; }

MessageBoxWatcher::MessageBoxWatcher() {
  messages.clear();
  cbtHook = SetWindowsHookExW(WH_CBT, closeMessageBoxes, nullptr, GetCurrentThreadId());
}

MessageBoxWatcher::~MessageBoxWatcher() { UnhookWindowsHookEx(cbtHook); }

const std::vector<ShownMessage>& MessageBoxWatcher::shown() const { return messages; }

void hangFakeFrames(DesktopPet& pet, int32_t slotIndex, int count) {
  AnimationList& head = pet.drawing.animations[slotIndex];
  FrameNode* last = &head;
  for (int n = 1; n <= count; ++n) {
    auto* node = new FrameNode{};
    node->previous = n == 1 ? nullptr : last;
    last->next = node;
    last = node;
  }
  head.previous = last;
}

int framePosition(const DesktopPet& pet) {
  const AnimationList& head = pet.drawing.animations[pet.animation];
  if (pet.currentFrame == &head) return 0;
  int position = 1;
  for (const FrameNode* node = head.next; node; node = node->next, ++position) {
    if (node == pet.currentFrame) return position;
  }
  return -1;
}

uint32_t seedGivingFirstDraw(int32_t wanted, int32_t modulus) {
  for (uint32_t seed = 0;; ++seed) {
    seedRandom(seed);
    if (nextRandom() % modulus == wanted) {
      seedRandom(seed);
      return seed;
    }
  }
}

void attachForSteps(DesktopPet& pet, HWND window, int32_t screenWidth, int32_t screenHeight) {
  pet.window = window;
  pet.home = {{0, 0, screenWidth, screenHeight}, {0, 0, screenWidth, screenHeight}};
  pet.spriteWidth = 100;
  pet.spriteHeight = 105;
  pet.motionKind = motion::STANDS;
  pet.currentFrame = &pet.drawing.animations[slot::STAND];
}

namespace {
std::vector<PetArea> statedAreas;

bool statedAreaOf(const PixelRect& rect, PetArea* area) {
  *area = statedAreas.front();
  int64_t most = 0;
  for (const PetArea& candidate : statedAreas) {
    const PixelRect held = visiblePart(rect, candidate.monitor);
    if (int64_t(held.width) * held.height > most) {
      most = int64_t(held.width) * held.height;
      *area = candidate;
    }
  }
  return true;
}
}  // namespace

StatedMonitors::StatedMonitors(std::vector<PetArea> areas) {
  statedAreas = std::move(areas);
  petSystem.findArea = statedAreaOf;
}

