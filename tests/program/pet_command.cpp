// pet-command.exe: talks to a running pet the way another Windows program would.
//
//   pet-command.exe screensave   posts WM_SYSCOMMAND SC_SCREENSAVE to the pet window
//   pet-command.exe close        posts WM_CLOSE to the pet window
//   pet-command.exe pets         prints how many pet windows exist
//   pet-command.exe menu TITLE   prints every top-level window titled TITLE
//                                ("dialog <visible> <left> <top> <right> <bottom>")
//                                and, for each, its child controls
//                                ("control <id> <visible> <enabled> <left> <top> <right> <bottom> <text>")
//   pet-command.exe wait-gone S  waits up to S seconds for the pet window to go
//   pet-command.exe ping         succeeds when the pet's thread answers a message
//                                within 2 seconds
//
// Text is printed as UTF-8, one line each. Exit status 0 on success, 1 when the
// pet window (or the menu) is not there, 2 on bad arguments.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace {

void print(const std::string& text) {
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()),
            &written, nullptr);
}

std::string utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                        nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0], bytes,
                      nullptr, nullptr);
  return out;
}

std::wstring windowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(window, &text[0], length + 1);
  text.resize(static_cast<size_t>(got > 0 ? got : 0));
  return text;
}

std::wstring className(HWND window) {
  wchar_t name[256] = L"";
  GetClassNameW(window, name, 256);
  return name;
}

std::string rectText(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) +
         " " + std::to_string(r.bottom);
}

struct Search {
  std::wstring title;
  std::wstring windowClass;  // empty: any
  std::vector<HWND> found;
};

BOOL CALLBACK collectTopLevel(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  if (windowText(window) == search->title &&
      (search->windowClass.empty() || className(window) == search->windowClass)) {
    search->found.push_back(window);
  }
  return TRUE;
}

std::vector<HWND> topLevel(const std::wstring& title, const std::wstring& windowClass) {
  Search search{title, windowClass, {}};
  EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<HWND> pets() { return topLevel(L"Morvet", L"Morvet"); }

BOOL CALLBACK printControl(HWND control, LPARAM) {
  std::string text = utf8(windowText(control));
  for (char& c : text)
    if (c == '\n' || c == '\r') c = ' ';
  print("control " + std::to_string(GetDlgCtrlID(control)) + " " +
        (IsWindowVisible(control) ? "1" : "0") + " " + (IsWindowEnabled(control) ? "1" : "0") +
        " " + rectText(control) + " " + text + "\n");
  return TRUE;
}

int postToPet(UINT message, WPARAM wParam) {
  const std::vector<HWND> found = pets();
  if (found.empty()) {
    print("no pet window\n");
    return 1;
  }
  return PostMessageW(found.front(), message, wParam, 0) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string command = argv[1];
  if (command == "screensave") return postToPet(WM_SYSCOMMAND, SC_SCREENSAVE);
  if (command == "close") return postToPet(WM_CLOSE, 0);
  if (command == "ping") {
    const std::vector<HWND> found = pets();
    DWORD_PTR answer = 0;
    return !found.empty() && SendMessageTimeoutW(found.front(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                                                 2000, &answer)
               ? 0
               : 1;
  }
  if (command == "pets") {
    print(std::to_string(pets().size()) + "\n");
    return 0;
  }
  if (command == "wait-gone" && argc == 3) {
    const DWORD deadline = GetTickCount() + 1000u * static_cast<DWORD>(atoi(argv[2]));
    while (!pets().empty()) {
      if (static_cast<LONG>(GetTickCount() - deadline) > 0) return 1;
      Sleep(100);
    }
    return 0;
  }
  if (command == "menu" && argc == 3) {
    // argv holds the title in the ANSI code page, which cannot spell it.
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments || count != 3) return 2;
    const std::wstring title = arguments[2];
    LocalFree(arguments);
    const std::vector<HWND> dialogs = topLevel(title, L"");
    for (HWND dialog : dialogs) {
      print(std::string("dialog ") + (IsWindowVisible(dialog) ? "1" : "0") + " " +
            rectText(dialog) + "\n");
      EnumChildWindows(dialog, printControl, 0);
    }
    return dialogs.empty() ? 1 : 0;
  }
  return 2;
}
