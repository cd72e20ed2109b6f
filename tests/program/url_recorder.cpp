// url-recorder.exe: stands in for a web browser. Writes its own command line,
// exactly as it received it, as UTF-8 to the file named by MORVET_URL_RECORD
// (a Windows path), or else to url-recorder.txt beside the executable. With
// MORVET_URL_RECORDER_STAYS set to a number of seconds it then stays that long
// without ever waiting for input, as a browser that is slow to start does.
#include <windows.h>

#include <string>

// A GUI program, so that starting it opens no console.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  wchar_t path[MAX_PATH * 2] = L"";
  if (!GetEnvironmentVariableW(L"MORVET_URL_RECORD", path, MAX_PATH * 2)) {
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring beside(path, length);
    beside = beside.substr(0, beside.find_last_of(L"\\/") + 1) + L"url-recorder.txt";
    wcsncpy(path, beside.c_str(), MAX_PATH * 2 - 1);
  }
  const wchar_t* line = GetCommandLineW();
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, line, -1, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(bytes > 0 ? bytes : 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, line, -1, &text[0], bytes, nullptr, nullptr);
  text.resize(strlen(text.c_str()));

  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  wchar_t stays[16] = L"";
  if (GetEnvironmentVariableW(L"MORVET_URL_RECORDER_STAYS", stays, 16)) {
    Sleep(1000u * static_cast<DWORD>(_wtoi(stays)));
  }
  return ok && written == text.size() ? 0 : 1;
}
