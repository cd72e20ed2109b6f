// foreign-window.exe captioned|borderless: another program's window over the
// whole primary monitor, for the pet's look at the window in front (the pet
// never counts its own process's windows). It takes the foreground and stays
// until it is ended, or 60 s.
//   captioned   a captioned, sizable window reaching 8 pixels past each edge,
//               as an ordinary program's maximized window where the taskbar
//               hides itself
//   borderless  a window without caption or frame exactly over the monitor, as
//               a full-screen video or game has
// Exit status 1 when the window could not be made or take the foreground, 2 on
// bad arguments.
#include <windows.h>

#include <cstring>

namespace {

LRESULT CALLBACK foreignProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER: DestroyWindow(window); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const bool captioned = std::strcmp(argv[1], "captioned") == 0;
  if (!captioned && std::strcmp(argv[1], "borderless") != 0) return 2;
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW foreignClass{};
  foreignClass.lpfnWndProc = foreignProc;
  foreignClass.hInstance = instance;
  foreignClass.hbrBackground = CreateSolidBrush(RGB(48, 64, 80));
  foreignClass.lpszClassName = L"MorvetTestForeign";
  if (!RegisterClassW(&foreignClass)) return 1;
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  const int past = captioned ? 8 : 0;
  HWND window = CreateWindowExW(0, foreignClass.lpszClassName, L"Morvet test foreign window",
                                captioned ? WS_OVERLAPPEDWINDOW : WS_POPUP, -past, -past,
                                width + 2 * past, height + 2 * past, nullptr, nullptr, instance,
                                nullptr);
  if (!window) return 1;
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  SetForegroundWindow(window);
  if (GetForegroundWindow() != window) return 1;
  SetTimer(window, 1, 60000, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
