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
//   pet-command.exe display W H  changes the primary display to W x H pixels, as a
//                                game or a projector's settings would, then
//                                watches the pet window for 2 s and prints each
//                                place it takes ("at <ms> <left> <top>", the
//                                time counted from the end of the change)
//   pet-command.exe display-changed
//                                sends WM_DISPLAYCHANGE to the pet, as Windows
//                                does when a monitor goes (Wine does not), then
//                                watches it for 2 s as `display` does
//   pet-command.exe monitors     prints each monitor as Windows sees it
//                                ("monitor <left> <top> <right> <bottom> work
//                                <left> <top> <right> <bottom>")
//   pet-command.exe saver-running 1|0
//                                sets the system's "screen saver running" flag
//                                (every program of the session reads the same one)
//   pet-command.exe cover W H S  opens a borderless W x H window at the screen's
//                                top-left corner, as a full-screen video or game
//                                does, takes the foreground and stays until
//                                `uncover` or S seconds; exit status 1 when it
//                                could not take the foreground
//   pet-command.exe uncover      closes the windows that `cover` opened, watching
//                                the pet window meanwhile and for 4 s after, and
//                                prints when it is shown again ("shown <ms> <left>
//                                <top>", the time counted from the close)
//   pet-command.exe idle S       keeps a hidden window that ticks twice a second
//                                for S seconds and at each tick asks whether a
//                                screen saver runs and looks at the window in
//                                front, as a held pet must: what Wine alone costs
//                                such a program, to judge a held pet by
//   pet-command.exe beneath L T W H S
//                                opens a plain window at L,T of W x H pixels, as
//                                an ordinary program's window that the pet may
//                                stand on, without taking the foreground; prints
//                                "press <button> <x> <y>" for each mouse press it
//                                gets (1 left, 3 right, window coordinates); stays
//                                S seconds or until closed
//   pet-command.exe recolour RRGGBB
//                                paints the `beneath` window in that colour, and
//                                returns once it has painted
//   pet-command.exe minimize     posts WM_SYSCOMMAND SC_MINIMIZE to the pet window,
//                                as a click on its taskbar button does
//   pet-command.exe minimize-show
//                                minimizes the pet window with ShowWindow
//                                SW_MINIMIZE, as another program may
//   pet-command.exe restore      posts WM_SYSCOMMAND SC_RESTORE to the pet window,
//                                then watches it for 4 s as `display` does
//   pet-command.exe restore-show restores the pet window with ShowWindow
//                                SW_RESTORE, then watches it for 4 s
//   pet-command.exe placement    prints "placement <iconic> <visible> <left> <top>"
//                                of the pet window (iconic and visible 0 or 1)
//   pet-command.exe throw X1 Y1 X2 Y2
//                                throws the pet as a quick flick does: the
//                                cursor at X1,Y1 presses the pet, one step of
//                                the drag takes it to X2,Y2 and the button is
//                                let go before the next; prints "thrown <left>
//                                <top>", where the window then stands
//   pet-command.exe session lock|unlock
//                                tells the pet the session was locked or
//                                unlocked, as Windows does (Wine does not)
//
// Text is printed as UTF-8, one line each. Exit status 0 on success, 1 when the
// pet window (or the menu) is not there, 2 on bad arguments.
#include <windows.h>
#include <shellapi.h>
#include <windowsx.h>
#include <wtsapi32.h>

#include <cstdlib>

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

// The pet's window, or null after saying that there is none.
HWND petWindow() {
  const std::vector<HWND> found = pets();
  if (found.empty()) print("no pet window\n");
  return found.empty() ? nullptr : found.front();
}

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
  HWND pet = petWindow();
  if (!pet) return 1;
  return PostMessageW(pet, message, wParam, 0) ? 0 : 1;
}

// A pet that walks on right after a change may have left the place the change
// gave it before a script, a process start away, could look: the places are
// seen from here, where the change ends.
void watchPetPlaces(DWORD milliseconds) {
  const std::vector<HWND> found = pets();
  if (found.empty()) return;
  const DWORD start = GetTickCount();
  RECT last{};
  bool seen = false;
  for (DWORD elapsed = 0; elapsed <= milliseconds; elapsed = GetTickCount() - start) {
    RECT now{};
    if (!GetWindowRect(found.front(), &now)) break;
    if (!seen || now.left != last.left || now.top != last.top) {
      print("at " + std::to_string(elapsed) + " " + std::to_string(now.left) + " " +
            std::to_string(now.top) + "\n");
      last = now;
      seen = true;
    }
    Sleep(5);
  }
}

int changeDisplay(int width, int height) {
  DEVMODEA mode{};
  mode.dmSize = sizeof mode;
  mode.dmPelsWidth = static_cast<DWORD>(width);
  mode.dmPelsHeight = static_cast<DWORD>(height);
  mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
  const LONG result = ChangeDisplaySettingsA(&mode, 0);
  if (result != DISP_CHANGE_SUCCESSFUL) {
    print("ChangeDisplaySettingsA returned " + std::to_string(result) + "\n");
    return 1;
  }
  watchPetPlaces(2000);
  return 0;
}

int sendDisplayChanged() {
  HWND pet = petWindow();
  if (!pet) return 1;
  const LPARAM size = MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  SendMessageW(pet, WM_DISPLAYCHANGE, 32, size);
  watchPetPlaces(2000);
  return 0;
}

int showPet(int how) {
  HWND pet = petWindow();
  if (!pet) return 1;
  ShowWindow(pet, how);
  return 0;
}

int restorePet(bool byShowWindow) {
  const int result = byShowWindow ? showPet(SW_RESTORE) : postToPet(WM_SYSCOMMAND, SC_RESTORE);
  // Wine may hold the restore up to 2 s, waiting for a window manager.
  if (result == 0) watchPetPlaces(4000);
  return result;
}

int printPlacement() {
  const std::vector<HWND> found = pets();
  RECT now{};
  if (found.empty() || !GetWindowRect(found.front(), &now)) {
    print("no pet window\n");
    return 1;
  }
  print(std::string("placement ") + (IsIconic(found.front()) ? "1 " : "0 ") +
        (IsWindowVisible(found.front()) ? "1 " : "0 ") + std::to_string(now.left) + " " +
        std::to_string(now.top) + "\n");
  return 0;
}

// The pet's own timer may run a step of the drag between the messages, which
// takes the speed out of the throw: a test checks where the pet landed.
int throwPet(int pressX, int pressY, int letGoX, int letGoY) {
  HWND pet = petWindow();
  if (!pet) return 1;
  SetCursorPos(pressX, pressY);
  SendMessageW(pet, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  SetCursorPos(letGoX, letGoY);
  SendMessageW(pet, WM_TIMER, 0, 0);
  SendMessageW(pet, WM_LBUTTONUP, 0, 0);
  RECT landed{};
  if (!GetWindowRect(pet, &landed)) return 1;
  print("thrown " + std::to_string(landed.left) + " " + std::to_string(landed.top) + "\n");
  return 0;
}

int tellSession(WPARAM change) {
  HWND pet = petWindow();
  if (!pet) return 1;
  SendMessageW(pet, WM_WTSSESSION_CHANGE, change, 0);
  return 0;
}

std::string cornersText(const RECT& r) {
  return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) +
         " " + std::to_string(r.bottom);
}

BOOL CALLBACK printMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(monitor, &info)) {
    print("monitor " + cornersText(info.rcMonitor) + " work " + cornersText(info.rcWork) + "\n");
  }
  return TRUE;
}

int setScreenSaverRunning(int running) {
  BOOL wasRunning = FALSE;
  return SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, running ? TRUE : FALSE, &wasRunning, 0)
             ? 0
             : 1;
}

const wchar_t* const COVER_CLASS = L"MorvetTestCover";
const wchar_t* const COVER_TITLE = L"Morvet test cover";

LRESULT CALLBACK coverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER: DestroyWindow(window); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

int cover(int width, int height, int seconds) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW coverClass{};
  coverClass.lpfnWndProc = coverProc;
  coverClass.hInstance = instance;
  coverClass.hbrBackground = CreateSolidBrush(RGB(48, 64, 80));
  coverClass.lpszClassName = COVER_CLASS;
  if (!RegisterClassW(&coverClass)) return 1;
  HWND window = CreateWindowExW(0, COVER_CLASS, COVER_TITLE, WS_POPUP, 0, 0, width, height,
                                nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  SetForegroundWindow(window);
  if (GetForegroundWindow() != window) {
    print("the cover could not take the foreground\n");
    return 1;
  }
  SetTimer(window, 1, 1000u * static_cast<UINT>(seconds), nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

// Seen from here, from the moment the close is asked: a script polling the X
// screen would see Wine map the pet later, and the covers themselves may take
// a while to go (Wine waits for a window manager as each one hides), the pet
// walking on meanwhile.
int uncover() {
  const std::vector<HWND> covers = topLevel(COVER_TITLE, COVER_CLASS);
  const std::vector<HWND> found = pets();
  for (HWND cover : covers)
    if (!PostMessageW(cover, WM_CLOSE, 0, 0)) return 1;
  const DWORD start = GetTickCount();
  DWORD gone = 0;
  bool shown = false;
  for (DWORD elapsed = 0; !gone || (!shown && elapsed - gone <= 4000);
       elapsed = GetTickCount() - start) {
    RECT now{};
    if (!shown && !found.empty() && IsWindowVisible(found.front()) &&
        GetWindowRect(found.front(), &now)) {
      print("shown " + std::to_string(elapsed) + " " + std::to_string(now.left) + " " +
            std::to_string(now.top) + "\n");
      shown = true;
    }
    bool anyLeft = false;
    for (HWND cover : covers) anyLeft = anyLeft || IsWindow(cover);
    if (!anyLeft && !gone) gone = elapsed > 0 ? elapsed : 1;
    if (anyLeft && elapsed > 5000) return 1;
    Sleep(5);
  }
  return 0;
}

// Whether a screen saver runs, and whether the window in front still covers
// the screen with neither caption nor frame.
void lookAsAHeldPet() {
  BOOL running = FALSE;
  SystemParametersInfoW(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
  HWND front = GetForegroundWindow();
  if (!front || !IsWindowVisible(front)) return;
  DWORD process = 0;
  GetWindowThreadProcessId(front, &process);
  wchar_t className[16] = {};
  GetClassNameW(front, className, 16);
  RECT rect{};
  GetWindowRect(front, &rect);
  GetWindowLongPtrW(front, GWL_STYLE);
}

LRESULT CALLBACK idleProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == 1) lookAsAHeldPet();
  if (message == WM_TIMER && wParam == 2) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

int idle(int seconds) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW idleClass{};
  idleClass.lpfnWndProc = idleProc;
  idleClass.hInstance = instance;
  idleClass.lpszClassName = L"MorvetTestIdle";
  if (!RegisterClassW(&idleClass)) return 1;
  HWND window = CreateWindowExW(WS_EX_APPWINDOW, idleClass.lpszClassName, L"Morvet test idle",
                                WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  SetTimer(window, 1, 500, nullptr);
  SetTimer(window, 2, 1000u * static_cast<UINT>(seconds), nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}

const wchar_t* const BENEATH_CLASS = L"MorvetTestBeneath";
const wchar_t* const BENEATH_TITLE = L"Morvet test beneath";
constexpr UINT RECOLOUR = WM_APP + 1;
COLORREF beneathColour = RGB(90, 110, 130);

void reportPress(int button, LPARAM position) {
  print("press " + std::to_string(button) + " " + std::to_string(GET_X_LPARAM(position)) + " " +
        std::to_string(GET_Y_LPARAM(position)) + "\n");
}

void paintBeneath(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  HBRUSH brush = CreateSolidBrush(beneathColour);
  RECT whole{};
  GetClientRect(window, &whole);
  FillRect(dc, &whole, brush);
  DeleteObject(brush);
  EndPaint(window, &paint);
}

LRESULT CALLBACK beneathProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: paintBeneath(window); return 0;
    case WM_LBUTTONDOWN: reportPress(1, lParam); return 0;
    case WM_RBUTTONDOWN: reportPress(3, lParam); return 0;
    case RECOLOUR:
      beneathColour = static_cast<COLORREF>(wParam);
      InvalidateRect(window, nullptr, FALSE);
      UpdateWindow(window);
      GdiFlush();
      return 1;
    case WM_TIMER: DestroyWindow(window); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

int beneath(int left, int top, int width, int height, int seconds) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW beneathClass{};
  beneathClass.lpfnWndProc = beneathProc;
  beneathClass.hInstance = instance;
  beneathClass.lpszClassName = BENEATH_CLASS;
  if (!RegisterClassW(&beneathClass)) return 1;
  HWND window = CreateWindowExW(WS_EX_NOACTIVATE, BENEATH_CLASS, BENEATH_TITLE, WS_POPUP, left,
                                top, width, height, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, SW_SHOWNOACTIVATE);
  UpdateWindow(window);
  SetTimer(window, 1, 1000u * static_cast<UINT>(seconds), nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}

int recolour(const char* hex) {
  const unsigned long rgb = std::strtoul(hex, nullptr, 16);
  HWND window = FindWindowW(BENEATH_CLASS, nullptr);
  if (!window) return 1;
  const COLORREF colour = RGB((rgb >> 16) & 255, (rgb >> 8) & 255, rgb & 255);
  DWORD_PTR painted = 0;
  return SendMessageTimeoutW(window, RECOLOUR, colour, 0, SMTO_ABORTIFHUNG, 5000, &painted) &&
                 painted
             ? 0
             : 1;
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
  if (command == "display" && argc == 4) return changeDisplay(atoi(argv[2]), atoi(argv[3]));
  if (command == "saver-running" && argc == 3) return setScreenSaverRunning(atoi(argv[2]));
  if (command == "cover" && argc == 5) return cover(atoi(argv[2]), atoi(argv[3]), atoi(argv[4]));
  if (command == "uncover") return uncover();
  if (command == "idle" && argc == 3) return idle(atoi(argv[2]));
  if (command == "beneath" && argc == 7) {
    return beneath(atoi(argv[2]), atoi(argv[3]), atoi(argv[4]), atoi(argv[5]), atoi(argv[6]));
  }
  if (command == "recolour" && argc == 3) return recolour(argv[2]);
  if (command == "display-changed") return sendDisplayChanged();
  if (command == "minimize") return postToPet(WM_SYSCOMMAND, SC_MINIMIZE);
  if (command == "minimize-show") return showPet(SW_MINIMIZE);
  if (command == "restore") return restorePet(false);
  if (command == "restore-show") return restorePet(true);
  if (command == "placement") return printPlacement();
  if (command == "throw" && argc == 6) {
    return throwPet(atoi(argv[2]), atoi(argv[3]), atoi(argv[4]), atoi(argv[5]));
  }
  if (command == "session" && argc == 3 && std::string(argv[2]) == "lock") {
    return tellSession(WTS_SESSION_LOCK);
  }
  if (command == "session" && argc == 3 && std::string(argv[2]) == "unlock") {
    return tellSession(WTS_SESSION_UNLOCK);
  }
  if (command == "monitors") return EnumDisplayMonitors(nullptr, nullptr, printMonitor, 0) ? 0 : 1;
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
