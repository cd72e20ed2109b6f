#include <gtest/gtest.h>

#include <string>

#include "pet/desktop_pet.h"
#include "test_support.h"

namespace {

// What the stand-in for SHQueryUserNotificationState answers, and how often it
// was asked: Wine's own answer is always that notifications are welcome.
QUERY_USER_NOTIFICATION_STATE reportedState = QUNS_ACCEPTS_NOTIFICATIONS;
int stateQueries = 0;

HRESULT WINAPI reportingState(QUERY_USER_NOTIFICATION_STATE* state) {
  ++stateQueries;
  *state = reportedState;
  return S_OK;
}

// Another program's window over the whole monitor, in front, while it lives:
// the pet never counts its own process's windows.
class ForeignWindow {
 public:
  explicit ForeignWindow(const char* kind) {
    std::string command = std::string("\"Z:" FOREIGN_WINDOW_EXE "\" ") + kind;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process_)) {
      return;
    }
    for (int tries = 0; tries < 200; ++tries) {
      HWND front = GetForegroundWindow();
      DWORD owner = 0;
      if (front) GetWindowThreadProcessId(front, &owner);
      if (owner == process_.dwProcessId) {
        window_ = front;
        return;
      }
      if (WaitForSingleObject(process_.hProcess, 50) == WAIT_OBJECT_0) return;
    }
  }
  // Ended at once: a window closed the usual way leaves Wine's screen only 2 s later.
  ~ForeignWindow() {
    if (!process_.hProcess) return;
    TerminateProcess(process_.hProcess, 0);
    WaitForSingleObject(process_.hProcess, 10000);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  // The window once it is in front; null when it never came there.
  HWND inFront() const { return window_; }

 private:
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
};

// A settled pet that looks at the window in front.
class FullScreenProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    registerWindowClass(L"MorvetFullScreenPet", DefWindowProcW);
    // Shown without being activated, Wine leaves it to itself: it does not
    // wait 2 s for a window manager when the window is hidden.
    petWindow = CreateWindowExW(0, L"MorvetFullScreenPet", L"pet", WS_POPUP, 150, 100, 0, 0,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(petWindow, SW_SHOWNOACTIVATE);
    HINSTANCE module = GetModuleHandleW(nullptr);
    pet.buildPalette(module);
    pet.attach(module, petWindow);
    pet.loadAnimations();
    pet.settle();
    reportedState = QUNS_ACCEPTS_NOTIFICATIONS;
    stateQueries = 0;
    petSystem.queryNotificationState = reportingState;
  }
  void TearDown() override { DestroyWindow(petWindow); }

  // Ticks enough for the pet to look at the foreground at least once.
  bool heldAfterALook() {
    for (int tick = 0; tick < 4; ++tick) pet.watchForeground();
    return (pet.heldBy & HELD_BY_FULL_SCREEN) != 0;
  }

  SystemStandIns standIns;
  TimerRecorder timers;
  HWND petWindow = nullptr;
  DesktopPet pet{7, Tick, 70, 9u};
};

TEST_F(FullScreenProgram, AMaximizedWindowWithATitleBarIsOneOnlyWhenWindowsReportsAGameOrAPresentation) {
  ForeignWindow maximized("captioned");
  ASSERT_NE(maximized.inFront(), nullptr) << "the captioned window took the foreground";
  RECT covered{};
  GetWindowRect(maximized.inFront(), &covered);
  ASSERT_LE(covered.left, 0) << "it covers the monitor, as a maximized window does";
  ASSERT_LE(covered.top, 0);
  ASSERT_GE(covered.right, pet.home.monitor.width);
  ASSERT_GE(covered.bottom, pet.home.monitor.height);

  EXPECT_FALSE(heldAfterALook()) << "an ordinary program's maximized window";
  EXPECT_GT(stateQueries, 0) << "Windows was asked";
  reportedState = QUNS_RUNNING_D3D_FULL_SCREEN;
  EXPECT_TRUE(heldAfterALook()) << "a full-screen Direct3D game";
  reportedState = QUNS_ACCEPTS_NOTIFICATIONS;
  EXPECT_FALSE(heldAfterALook()) << "the game is gone, the window stays";
  reportedState = QUNS_PRESENTATION_MODE;
  EXPECT_TRUE(heldAfterALook()) << "presentation settings are on";
}

TEST_F(FullScreenProgram, ABorderlessWindowOverTheMonitorIsOneWithoutAskingWindows) {
  ForeignWindow video("borderless");
  ASSERT_NE(video.inFront(), nullptr) << "the borderless window took the foreground";
  EXPECT_TRUE(heldAfterALook());
  EXPECT_EQ(stateQueries, 0) << "its style alone says it";
}

}  // namespace
