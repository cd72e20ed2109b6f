#include "app/app.h"

namespace {

bool registerPetClass(HINSTANCE instance) {
  WNDCLASSEXW petClass{};
  petClass.cbSize = sizeof petClass;
  petClass.style = 0;  // no double clicks: a double click is two presses
  petClass.lpfnWndProc = PetWindowProc;
  petClass.hInstance = instance;
  petClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(ICON_RESOURCE));
  petClass.hIconSm = LoadIconW(instance, MAKEINTRESOURCEW(ICON_RESOURCE));
  petClass.hCursor = LoadCursorW(instance, MAKEINTRESOURCEW(CURSOR_RESOURCE));
  petClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  petClass.lpszClassName = PET_CLASS_NAME;
  return RegisterClassExW(&petClass) != 0;
}

// Started from a shortcut set to run minimized (or with `start /min`) the
// window would stay minimized and the pet would never appear. The system may
// put the starter's show command in place of the first call's, so a second
// call shows the window if the first left it minimized.
void showWithoutActivating(HWND window) {
  ShowWindow(window, SW_SHOWNOACTIVATE);
  if (IsIconic(window)) ShowWindow(window, SW_SHOWNOACTIVATE);
}

}  // namespace

// The pet's awareness of scaled displays is declared by its manifest
// (resources/morvet.manifest), which Windows reads before any code runs.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (!registerPetClass(instance)) return 0;
  appInstance = instance;  // the window's creation builds the palette from it
  // Layered, the window shows nothing until the pet gives it its colour key.
  HWND window = CreateWindowExW(WS_EX_LAYERED | WS_EX_APPWINDOW, PET_CLASS_NAME, PET_WINDOW_TITLE,
                                WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS, 150, 100, 0, 0, nullptr,
                                nullptr, instance, nullptr);
  if (!window) return 0;
  showWithoutActivating(window);
  UpdateWindow(window);
  appWindow = window;

  thePet.attach(instance, window);
  thePet.loadAnimations();
  thePet.settle();

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
