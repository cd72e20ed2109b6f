#include "app/app.h"

#include <wtsapi32.h>

#include <cstring>

#include "menu/menu.h"

int dragging = 0;
int keyHeld = 0;
int menuOpen = 0;

namespace {

int directionOfKey(WPARAM key) {
  switch (key) {
    case VK_LEFT: return DIRECTION_LEFT;
    case VK_RIGHT: return DIRECTION_RIGHT;
    case VK_UP: return DIRECTION_UP;
    case VK_DOWN: return DIRECTION_DOWN;
    default: return 0;
  }
}

// A second pet finds the running one first: that one is topmost, this one not yet.
void onCreate(HWND window) {
  if (FindWindowW(PET_CLASS_NAME, PET_WINDOW_TITLE) != window) {
    SendMessageW(window, WM_DESTROY, 0, 0);
  }
  thePet.buildPalette(appInstance);
}

void onKeyDown(WPARAM key) {
  if (dragging || keyHeld) return;  // auto-repeat and second arrows wait for a release
  const int direction = directionOfKey(key);
  if (!direction) return;
  thePet.setKeyDirection(direction);
  keyHeld = 1;
}

// The system sends the screen-saver command only to the foreground window,
// which the pet seldom is: it also looks for a running saver at every tick.
void onTimer(HWND window) {
  if (screenSaverRunning()) {
    SendMessageW(window, WM_DESTROY, 0, 0);
    return;
  }
  thePet.watchForeground();
  if (dragging == 1) {
    thePet.PetStep(Drag);
  } else if (keyHeld == 1) {
    thePet.PetStep(KeyStep);
  } else {
    thePet.PetStep(Tick);
  }
}

// The window takes the mouse while the left button holds the pet: a quick
// throw leaves the cursor off the window when the button comes up.
void onLeftButtonDown(HWND window) {
  dragging = 1;
  SetCapture(window);
  thePet.PetStep(Drag);
}

void onLeftButtonUp() {
  dragging = 0;
  thePet.PetStep(Tick);
  ReleaseCapture();
}

// Alt+Tab, a UAC prompt or another program took the mouse: the drag is over.
void onCaptureLost() {
  if (dragging != 1) return;
  dragging = 0;
  thePet.PetStep(Tick);
}

void onSessionChange(WPARAM change) {
  switch (change) {
    case WTS_SESSION_LOCK: thePet.holdSteps(HELD_BY_LOCK); break;
    case WTS_SESSION_UNLOCK: thePet.releaseSteps(HELD_BY_LOCK); break;
    case WTS_CONSOLE_DISCONNECT:
    case WTS_REMOTE_DISCONNECT: thePet.holdSteps(HELD_BY_DISCONNECT); break;
    case WTS_CONSOLE_CONNECT:
    case WTS_REMOTE_CONNECT: thePet.releaseSteps(HELD_BY_DISCONNECT); break;
    default: break;
  }
}

// A click on the taskbar button, Win+D or "Show desktop" minimizes the window.
// The pet's own resizes say SIZE_RESTORED too: only a change of state holds or
// releases the pet.
void onSize(WPARAM kind) {
  switch (kind) {
    case SIZE_MINIMIZED: thePet.holdSteps(HELD_BY_MINIMIZED); break;
    case SIZE_RESTORED:
    case SIZE_MAXIMIZED: thePet.releaseSteps(HELD_BY_MINIMIZED); break;
    default: break;
  }
}

// The display went off after idle minutes or with a closed lid, came back on,
// or was dimmed, which still shows the pet. Windows 7 tells only the monitor's
// power; both settings carry one DWORD: 0 off, 1 on, 2 dimmed.
constexpr DWORD DISPLAY_OFF = 0;

void onPowerSetting(const POWERBROADCAST_SETTING* setting) {
  if (!setting || setting->DataLength != sizeof(DWORD)) return;
  if (!IsEqualGUID(setting->PowerSetting, GUID_CONSOLE_DISPLAY_STATE) &&
      !IsEqualGUID(setting->PowerSetting, GUID_MONITOR_POWER_ON)) {
    return;
  }
  DWORD state = 0;
  std::memcpy(&state, setting->Data, sizeof state);
  if (state == DISPLAY_OFF) {
    thePet.holdSteps(HELD_BY_DISPLAY_OFF);
  } else {
    thePet.releaseSteps(HELD_BY_DISPLAY_OFF);
  }
}

void onPowerBroadcast(WPARAM event, LPARAM data) {
  if (event == PBT_POWERSETTINGCHANGE) {
    onPowerSetting(reinterpret_cast<const POWERBROADCAST_SETTING*>(data));
  }
}

// The taskbar moved, grew, shrank or was set to hide.
void onSettingChange(WPARAM setting) {
  if (setting == SPI_SETWORKAREA) thePet.followArea();
}

void onRightButton() {
  if (menuOpen) return;
  menuOpen = 1;
  const INT_PTR result = DialogBoxParamW(appInstance, MAKEINTRESOURCEW(MENU_DIALOG_RESOURCE),
                                         GetDesktopWindow(), PetMenuProc, 0);
  if (result == MENU_RESULT_CLOSE) SendMessageW(appWindow, WM_DESTROY, 0, 0);
}

}  // namespace

LRESULT CALLBACK PetWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: onCreate(window); break;
    case WM_DESTROY: PostQuitMessage(0); break;
    case WM_KEYDOWN: onKeyDown(wParam); break;
    case WM_KEYUP: keyHeld = 0; break;
    // A key released while another window has the keyboard never reaches the
    // pet, which would walk on in that key's direction off the screen.
    case WM_KILLFOCUS: keyHeld = 0; break;
    case WM_SYSCOMMAND:
      // The four low bits are the system's own.
      if ((wParam & 0xFFF0) == SC_SCREENSAVE) SendMessageW(window, WM_DESTROY, 0, 0);
      break;
    case WM_TIMER: onTimer(window); break;
    case WM_PAINT: thePet.answerPaint(window); return 0;
    case WM_LBUTTONDOWN: onLeftButtonDown(window); break;
    case WM_LBUTTONUP: onLeftButtonUp(); break;
    case WM_CAPTURECHANGED: onCaptureLost(); break;
    case WM_DISPLAYCHANGE: thePet.followDisplay(); break;
    case WM_SETTINGCHANGE: onSettingChange(wParam); break;
    // The suggested rectangle is not taken: the pet places itself so that the
    // figure's pixel under the cursor stays under it.
    case WM_DPICHANGED: thePet.followScale(); return 0;
    case WM_WTSSESSION_CHANGE: onSessionChange(wParam); break;
    case WM_SIZE: onSize(wParam); break;
    case WM_POWERBROADCAST: onPowerBroadcast(wParam, lParam); return TRUE;
    case WM_RBUTTONDOWN: onRightButton(); break;
    default: break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
