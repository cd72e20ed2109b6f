/* Probe: what Wine does with an application manifest. Prints the process's DPI
   awareness, the DPI settings the system read from the manifest, and which
   module draws a button (comctl32 of version 6 or user32's own).
   Built by wine_manifest.sh once per manifest. */
#define UNICODE
#define _WIN32_WINNT 0x0A00
#include <windows.h>
#include <commctrl.h>
#include <stdio.h>

static void setting(const wchar_t* space, const wchar_t* name) {
  wchar_t value[64] = L"";
  SIZE_T length = 0;
  if (QueryActCtxSettingsW(0, NULL, space, name, value, 64, &length)) {
    printf(" %ls=\"%ls\"", name, value);
  } else {
    printf(" %ls=(error %lu)", name, GetLastError());
  }
}

int main(void) {
  DPI_AWARENESS_CONTEXT context = GetThreadDpiAwarenessContext();
  printf("awareness %d (0 unaware, 1 system, 2 per monitor), v2 %d, IsProcessDPIAware %d;",
         (int)GetAwarenessFromDpiAwarenessContext(context),
         AreDpiAwarenessContextsEqual(context, DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2),
         IsProcessDPIAware());
  setting(L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware");
  setting(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness");
  HWND button = CreateWindowExW(0, L"Button", L"x", WS_POPUP, 0, 0, 50, 20, NULL, NULL, NULL, NULL);
  HMODULE owner = NULL;
  wchar_t path[MAX_PATH] = L"?";
  if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         (LPCWSTR)GetClassLongPtrW(button, GCLP_WNDPROC), &owner)) {
    GetModuleFileNameW(owner, path, MAX_PATH);
  }
  SIZE ideal = {0, 0};
  LRESULT answered = SendMessageW(button, BCM_GETIDEALSIZE, 0, (LPARAM)&ideal);
  printf("; button drawn by %ls, BCM_GETIDEALSIZE %s\n", path, answered ? "answered" : "unknown");
  return 0;
}
