#include "pet/pet_system.h"

namespace {

HGDIOBJ asMade(HGDIOBJ made) { return made; }

RECT rectOf(const PixelRect& rect) {
  return {rect.left, rect.top, rect.left + rect.width, rect.top + rect.height};
}

}  // namespace

PetSystem petSystem = {
    SetTimer,
    GetCursorPos,
    BitBlt,
    SetWindowRgn,
    SetLayeredWindowAttributes,
    SetWindowPos,
    systemAreaOf,
    systemDpiOf,
    SHQueryUserNotificationState,
    asMade,
    DeleteObject,
    DeleteDC,
};

void releaseContext(HDC& context) {
  if (context) petSystem.deleteDC(context);
  context = nullptr;
}

bool systemAreaOf(const PixelRect& onScreen, PetArea* area) {
  const RECT spot = rectOf(onScreen);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(MonitorFromRect(&spot, MONITOR_DEFAULTTONEAREST), &info)) return false;
  *area = {pixelRectOf(info.rcMonitor), pixelRectOf(info.rcWork)};
  return true;
}

// Windows 8.1 and later tell the DPI by monitor; before, one DPI holds for the
// whole system.
int32_t systemDpiOf(const PixelRect& onScreen) {
  using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  static const FARPROC found = GetProcAddress(LoadLibraryW(L"shcore.dll"), "GetDpiForMonitor");
  const RECT spot = rectOf(onScreen);
  UINT dpiX = 0;
  UINT dpiY = 0;
  constexpr int EFFECTIVE_DPI = 0;
  if (found && SUCCEEDED(reinterpret_cast<GetDpiForMonitorFunction>(reinterpret_cast<void*>(found))(
                   MonitorFromRect(&spot, MONITOR_DEFAULTTONEAREST), EFFECTIVE_DPI, &dpiX,
                   &dpiY)) &&
      dpiX) {
    return static_cast<int32_t>(dpiX);
  }
  HDC screen = GetDC(nullptr);
  const int32_t dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}
