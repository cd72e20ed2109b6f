#include "app/app.h"
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

void onTimer() {
  if (dragging == 1) {
    thePet.PetStep(Drag);
  } else if (keyHeld == 1) {
    thePet.PetStep(KeyStep);
  } else {
    thePet.PetStep(Tick);
  }
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
      if (wParam == SC_SCREENSAVE) SendMessageW(window, WM_DESTROY, 0, 0);
      break;
    case WM_TIMER: onTimer(); break;
    case WM_LBUTTONDOWN:
      dragging = 1;
      thePet.PetStep(Drag);
      break;
    case WM_LBUTTONUP:
      dragging = 0;
      thePet.PetStep(Tick);
      break;
    case WM_RBUTTONDOWN: onRightButton(); break;
    default: break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
