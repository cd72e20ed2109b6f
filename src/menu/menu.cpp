#include "menu/menu.h"

#include <cstring>

#include "app/app.h"
#include "menu/launch_text.h"

namespace {

// Reads the default value of a key under HKEY_CLASSES_ROOT as text into
// `value`; false when the key does not open, or its value is not text that fits
// or holds nothing but spaces. Reading needs no more than read access, which
// every user has.
bool readDefaultValue(const char* keyPath, char* value) {
  value[0] = '\0';
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return false;
  }
  char data[launch::VALUE_BYTES];
  DWORD type = REG_NONE;
  DWORD size = sizeof data;
  const LONG status =
      RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(key);
  const bool text = type == REG_SZ || type == REG_EXPAND_SZ;
  if (status != ERROR_SUCCESS || !text || size > sizeof data) return false;
  launch::registryText(data, size, value);
  return value[std::strspn(value, " ")] != '\0';
}

// Starts the command line without waiting for it: WinExec would hold the pet
// and its menu until a slow browser first waits for input.
void startWithoutWaiting(char* commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_RESTORE;
  PROCESS_INFORMATION started{};
  if (CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                     &started)) {
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
  }
}

void keepPet(HWND dialog) {
  menuOpen = 0;
  EndDialog(dialog, MENU_RESULT_KEEP);
}

void onMenuCommand(HWND dialog, HWND muteCheckbox, int controlId) {
  switch (controlId) {
    case MENU_HOME_PAGE_BUTTON:
      OpenHomePage();
      keepPet(dialog);
      break;
    case MENU_CONTINUE_BUTTON: keepPet(dialog); break;
    case MENU_MUTE_CHECKBOX:
      thePet.setSoundEnabled(1);
      if (SendMessageW(muteCheckbox, BM_GETCHECK, 0, 0) == BST_CHECKED) thePet.setSoundEnabled(0);
      break;
    case MENU_CLOSE_BUTTON:
      // menuOpen stays set: the program is ending.
      EndDialog(dialog, MENU_RESULT_CLOSE);
      break;
    default: break;  // Esc and the close request leave the menu up
  }
}

}  // namespace

INT_PTR CALLBACK PetMenuProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  HWND muteCheckbox = GetDlgItem(dialog, MENU_MUTE_CHECKBOX);
  switch (message) {
    case WM_INITDIALOG:
      SendMessageW(muteCheckbox, BM_SETCHECK, BST_CHECKED, 0);
      if (thePet.soundEnabled == 1) SendMessageW(muteCheckbox, BM_SETCHECK, BST_UNCHECKED, 0);
      return TRUE;
    case WM_COMMAND: onMenuCommand(dialog, muteCheckbox, LOWORD(wParam)); return 0;
    default: return 0;
  }
}

bool buildHomePageCommand(char* commandLine) {
  commandLine[0] = '\0';
  char className[launch::VALUE_BYTES];
  if (!readDefaultValue(".htm", className)) return false;
  char keyPath[launch::KEY_PATH_BYTES];
  if (!launch::commandKeyPath(className, keyPath)) return false;  // no key has a name that long
  // Without a command there is nothing to start: what is left after the cut
  // would be searched for as a program in the pet's folder and on the PATH.
  char command[launch::VALUE_BYTES];
  if (!readDefaultValue(keyPath, command)) return false;
  launch::homePageCommand(command, commandLine);
  return true;
}

void OpenHomePage() {
  char commandLine[launch::COMMAND_BYTES];
  if (buildHomePageCommand(commandLine)) startWithoutWaiting(commandLine);
}
