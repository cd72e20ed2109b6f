#include "menu/menu.h"

#include "app/app.h"
#include "menu/launch_text.h"

namespace {

// Reads the default value of a key under HKEY_CLASSES_ROOT into `value`. A key
// that does not open leaves `value` as it was; a value that is not text or does
// not fit leaves it empty. Reading needs no more than read access, which every
// user has.
void readDefaultValue(const char* keyPath, char* value) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return;
  char data[launch::VALUE_BYTES];
  DWORD type = REG_NONE;
  DWORD size = sizeof data;
  const LONG status =
      RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(key);
  const bool text = type == REG_SZ || type == REG_EXPAND_SZ;
  if (status == ERROR_SUCCESS && text && size <= sizeof data) {
    launch::registryText(data, size, value);
  } else {
    value[0] = '\0';
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
  char value[launch::VALUE_BYTES] = "";
  readDefaultValue(".htm", value);
  char keyPath[launch::KEY_PATH_BYTES];
  if (!launch::commandKeyPath(value, keyPath)) return false;  // no key has a name that long
  readDefaultValue(keyPath, value);
  launch::homePageCommand(value, commandLine);
  return true;
}

void OpenHomePage() {
  char commandLine[launch::COMMAND_BYTES];
  if (buildHomePageCommand(commandLine)) WinExec(commandLine, SW_RESTORE);
}
