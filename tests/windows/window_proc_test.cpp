#include <gtest/gtest.h>

#include "app/app.h"

#include <wtsapi32.h>

#include <cstddef>
#include <cstring>
#include <vector>

#include "menu/menu.h"
#include "test_support.h"

namespace {

// Drives the real window procedure with the program's own pet, which never
// settles here, so its steps run their logic and draw nothing.
class WindowProc : public ::testing::Test {
 protected:
  void SetUp() override {
    registerWindowClass(L"MorvetProcUnderTest", PetWindowProc);
    // Its creation finds no running pet of this class and so asks to end at once.
    window = CreateWindowExW(0, L"MorvetProcUnderTest", L"pet", WS_POPUP, 0, 0, 0, 0, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    dragging = keyHeld = menuOpen = 0;
    thePet.command = Tick;
    thePet.pendingDirection = 0;
    thePet.heldBy = 0;
    drainQuit();
  }
  void TearDown() override {
    DestroyWindow(window);
    drainQuit();
  }
  LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return PetWindowProc(window, message, wParam, lParam);
  }
  // Runs one timer message and tells which step it ran.
  int32_t stepOfOneTick() {
    thePet.command = 0;
    send(WM_TIMER, 1);
    return thePet.command;
  }
  // A power setting built as Windows builds it: the setting's GUID, the length
  // of its data, then the data.
  LRESULT sendPowerSetting(const GUID& setting, DWORD state, DWORD length = sizeof(DWORD)) {
    std::vector<unsigned char> bytes(offsetof(POWERBROADCAST_SETTING, Data) + sizeof state);
    auto* broadcast = reinterpret_cast<POWERBROADCAST_SETTING*>(bytes.data());
    broadcast->PowerSetting = setting;
    broadcast->DataLength = length;
    std::memcpy(broadcast->Data, &state, sizeof state);
    return send(WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(broadcast));
  }
  static bool quitPosted() {
    MSG message;
    return PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
  }
  static void drainQuit() { while (quitPosted()) {} }

  HWND window = nullptr;
  TimerRecorder timers;
};

TEST_F(WindowProc, AnArrowKeyIsTakenOnlyWhileNothingElseIsHeld) {
  send(WM_KEYDOWN, VK_LEFT);
  EXPECT_EQ(keyHeld, 1);
  EXPECT_EQ(thePet.pendingDirection, DIRECTION_LEFT);
  send(WM_KEYDOWN, VK_LEFT);   // auto-repeat
  send(WM_KEYDOWN, VK_DOWN);   // a second arrow
  EXPECT_EQ(thePet.pendingDirection, DIRECTION_LEFT);
  send(WM_KEYUP, 'A');         // any release ends keyboard mode
  EXPECT_EQ(keyHeld, 0);
  send(WM_KEYDOWN, 'A');
  EXPECT_EQ(keyHeld, 0) << "not an arrow";
  send(WM_KEYDOWN, VK_UP);
  EXPECT_EQ(thePet.pendingDirection, DIRECTION_UP);
  EXPECT_EQ(thePet.animation, DIRECTION_LEFT) << "shows the slot of the previous arrow";
  send(WM_KEYUP, VK_UP);
  dragging = 1;
  send(WM_KEYDOWN, VK_RIGHT);
  EXPECT_EQ(keyHeld, 0) << "arrows are ignored while dragging";
  EXPECT_EQ(thePet.pendingDirection, DIRECTION_UP);
}

TEST_F(WindowProc, EachTimerMessageRunsExactlyOneStepByTheHeldInput) {
  EXPECT_EQ(stepOfOneTick(), Tick);
  keyHeld = 1;
  EXPECT_EQ(stepOfOneTick(), KeyStep);
  dragging = 1;
  EXPECT_EQ(stepOfOneTick(), Drag);
  keyHeld = 0;
  EXPECT_EQ(stepOfOneTick(), Drag);
}

TEST_F(WindowProc, TheLeftButtonDragsAndItsReleaseStepsAtOnce) {
  SetCursorPos(600, 400);
  thePet.spriteWidth = 100;
  send(WM_LBUTTONDOWN);
  EXPECT_EQ(dragging, 1);
  EXPECT_EQ(thePet.command, Drag);
  EXPECT_EQ(thePet.targetX, 600);
  send(WM_LBUTTONUP);
  EXPECT_EQ(dragging, 0);
  EXPECT_EQ(thePet.command, Tick);
  EXPECT_EQ(thePet.previousCommand, Drag);
}

TEST_F(WindowProc, LosingTheMouseEndsADragAsAReleaseWould) {
  SetCursorPos(600, 400);
  thePet.spriteWidth = 100;
  send(WM_LBUTTONDOWN);
  send(WM_CAPTURECHANGED);  // Alt+Tab took the mouse before the button came up
  EXPECT_EQ(dragging, 0);
  EXPECT_EQ(thePet.command, Tick);
  EXPECT_EQ(thePet.previousCommand, Drag);
  thePet.command = 0;
  send(WM_CAPTURECHANGED);
  EXPECT_EQ(thePet.command, 0) << "without a drag there is nothing to end";
}

TEST_F(WindowProc, TheLockScreenHoldsTheStepsWhileTheButtonsStillCount) {
  send(WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK);
  EXPECT_EQ(stepOfOneTick(), 0) << "no step while locked";
  send(WM_LBUTTONDOWN);
  EXPECT_EQ(dragging, 1);
  send(WM_LBUTTONUP);
  EXPECT_EQ(dragging, 0) << "a release while locked is not lost";
  send(WM_WTSSESSION_CHANGE, WTS_REMOTE_DISCONNECT);
  send(WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK);
  EXPECT_EQ(stepOfOneTick(), 0) << "still disconnected";
  send(WM_WTSSESSION_CHANGE, WTS_REMOTE_CONNECT);
  EXPECT_EQ(stepOfOneTick(), Tick);
}

TEST_F(WindowProc, AMinimizedWindowHoldsTheStepsUntilItIsRestored) {
  send(WM_SIZE, SIZE_MINIMIZED);
  EXPECT_EQ(stepOfOneTick(), 0) << "no step while minimized";
  send(WM_SIZE, SIZE_RESTORED);
  EXPECT_EQ(stepOfOneTick(), Tick);
  send(WM_SIZE, SIZE_MINIMIZED);
  send(WM_SIZE, SIZE_MAXIMIZED);
  EXPECT_EQ(stepOfOneTick(), Tick) << "maximized counts as restored";
  send(WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK);
  send(WM_SIZE, SIZE_RESTORED);  // a resize of the window's own
  EXPECT_EQ(stepOfOneTick(), 0) << "a resize releases nothing that another reason holds";
}

TEST_F(WindowProc, TheDisplayTurnedOffHoldsTheStepsUntilItIsOnOrDimmed) {
  constexpr DWORD off = 0, on = 1, dimmed = 2;
  EXPECT_EQ(sendPowerSetting(GUID_CONSOLE_DISPLAY_STATE, off), TRUE);
  EXPECT_EQ(stepOfOneTick(), 0) << "no step while the display is off";
  EXPECT_EQ(sendPowerSetting(GUID_CONSOLE_DISPLAY_STATE, dimmed), TRUE);
  EXPECT_EQ(stepOfOneTick(), Tick) << "a dimmed display still shows the pet";
  sendPowerSetting(GUID_CONSOLE_DISPLAY_STATE, off);
  sendPowerSetting(GUID_CONSOLE_DISPLAY_STATE, on);
  EXPECT_EQ(stepOfOneTick(), Tick);
  // Windows 7 tells the monitor's power instead.
  sendPowerSetting(GUID_MONITOR_POWER_ON, off);
  EXPECT_EQ(stepOfOneTick(), 0);
  sendPowerSetting(GUID_MONITOR_POWER_ON, on);
  EXPECT_EQ(stepOfOneTick(), Tick);
}

TEST_F(WindowProc, APowerSettingOfAnotherKindOrOfShortDataChangesNothing) {
  constexpr DWORD off = 0, on = 1;
  sendPowerSetting(GUID_ACDC_POWER_SOURCE, off);  // on mains power
  EXPECT_EQ(stepOfOneTick(), Tick);
  sendPowerSetting(GUID_CONSOLE_DISPLAY_STATE, off, 2);
  EXPECT_EQ(stepOfOneTick(), Tick) << "data shorter than a DWORD is not read";
  sendPowerSetting(GUID_CONSOLE_DISPLAY_STATE, off);
  sendPowerSetting(GUID_ACDC_POWER_SOURCE, on);
  sendPowerSetting(GUID_CONSOLE_DISPLAY_STATE, on, 2);
  EXPECT_EQ(stepOfOneTick(), 0) << "still off";
}

TEST_F(WindowProc, TheScreenSaverAndDestroyEndTheProgram) {
  send(WM_SYSCOMMAND, 0xF1F0);  // a command no one handles
  EXPECT_FALSE(quitPosted());
  send(WM_SYSCOMMAND, SC_SCREENSAVE | 0x2);  // the low bits are the system's own
  EXPECT_TRUE(quitPosted());
  send(WM_DESTROY);
  EXPECT_TRUE(quitPosted());
}

TEST_F(WindowProc, AWorkAreaChangeKeepsTheWalkAboveTheTaskbar) {
  thePet.home = {{0, 0, 1024, 768}, {0, 0, 1024, 768}};
  thePet.targetY = 660;
  const PetArea taskbarAlongTheBottom{{0, 0, 1024, 768}, {0, 0, 1024, 600}};
  StatedMonitors taskbarShown({taskbarAlongTheBottom});
  send(WM_SETTINGCHANGE, SPI_SETDESKWALLPAPER);
  EXPECT_EQ(thePet.targetY, 660) << "other settings change nothing";
  send(WM_SETTINGCHANGE, SPI_SETWORKAREA);
  EXPECT_EQ(thePet.home.work.height, 600);
  EXPECT_EQ(thePet.targetY, 600 - 90);
}

// Counts the dialogs that open; the first gets a right click on the pet through
// its own loop, as a user's click while the menu is up, and then Continue.
int menusShown = 0;
HWND petUnderMenu = nullptr;
HHOOK menuHook = nullptr;
LRESULT CALLBACK clickThePetUnderTheMenu(int code, WPARAM wParam, LPARAM lParam) {
  if (HWND dialog = dialogActivated(code, wParam)) {
    if (++menusShown == 1) PostMessageW(petUnderMenu, WM_RBUTTONDOWN, 0, 0);
    PostMessageW(dialog, WM_COMMAND, MENU_CONTINUE_BUTTON, 0);
  }
  return CallNextHookEx(menuHook, code, wParam, lParam);
}

TEST_F(WindowProc, ARightClickOpensTheMenuAndNoSecondOneWhileItIsOpen) {
  appInstance = GetModuleHandleW(nullptr);
  menusShown = 0;
  petUnderMenu = window;
  menuHook = SetWindowsHookExW(WH_CBT, clickThePetUnderTheMenu, nullptr, GetCurrentThreadId());
  send(WM_RBUTTONDOWN);
  UnhookWindowsHookEx(menuHook);
  EXPECT_EQ(menusShown, 1);
  EXPECT_EQ(menuOpen, 0) << "Continue lets the next right click open it again";
  EXPECT_FALSE(quitPosted());
}

TEST(WindowProcCreation, ASecondPetWindowEndsItsOwnProgram) {
  registerWindowClass(PET_CLASS_NAME, PetWindowProc);
  appInstance = GetModuleHandleW(nullptr);
  MSG message;
  while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}

  HWND first = CreateWindowExW(WS_EX_TOPMOST, PET_CLASS_NAME, PET_WINDOW_TITLE, WS_POPUP, 0, 0,
                               0, 0, nullptr, nullptr, appInstance, nullptr);
  ASSERT_NE(first, nullptr);
  EXPECT_FALSE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
      << "the first pet finds only itself";
  EXPECT_NE(thePet.screenDC, nullptr) << "creation builds the palette";

  HWND second = CreateWindowExW(0, PET_CLASS_NAME, PET_WINDOW_TITLE, WS_POPUP, 0, 0, 0, 0,
                                nullptr, nullptr, appInstance, nullptr);
  EXPECT_NE(second, nullptr) << "creation goes on";
  EXPECT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  DestroyWindow(second);
  DestroyWindow(first);
  while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
}

}  // namespace
