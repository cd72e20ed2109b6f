// bare-move [SECONDS]: a bare Wine program that moves a plain 114 x 119 window
// 7 px and paints it at every 70-ms tick, to and fro across the screen, for
// SECONDS (30 unless given): what a window's moves and paints cost, with
// nothing else. living_cpu.sh runs it.
#include <windows.h>

#include <cstdlib>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
  const DWORD seconds = *arguments ? std::atoi(arguments) : 30;
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = L"BareMove";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"BareMove", L"bare move",
                                WS_POPUP | WS_VISIBLE, 100, 300, 114, 119, nullptr, nullptr,
                                instance, nullptr);
  HDC screen = GetDC(nullptr);
  HDC picture = CreateCompatibleDC(screen);
  SelectObject(picture, CreateCompatibleBitmap(screen, 114, 119));
  PatBlt(picture, 0, 0, 114, 119, WHITENESS);
  SetTimer(window, 1, 70, nullptr);
  int x = 100, dx = 7;
  const DWORD start = GetTickCount();
  MSG message;
  while (GetTickCount() - start < seconds * 1000 && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_TIMER) {
      x += dx;
      if (x > 800 || x < 100) dx = -dx;
      SetWindowPos(window, nullptr, x, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      HDC windowDC = GetDC(window);
      BitBlt(windowDC, 0, 0, 114, 119, picture, 0, 0, SRCCOPY);
      ReleaseDC(window, windowDC);
    }
    DispatchMessageW(&message);
  }
  return 0;
}
