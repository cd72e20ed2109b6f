#include "menu/menu.h"

#include <shlwapi.h>

#include <cwchar>
#include <string>

#include "app/app.h"
#include "menu/launch_text.h"

namespace {

// The text with its environment variables (%NAME%) replaced by their values;
// empty when the system cannot expand it.
std::wstring withVariablesExpanded(const std::wstring& text) {
  const DWORD units = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
  if (units == 0) return std::wstring();
  std::wstring expanded(units, L'\0');
  const DWORD written = ExpandEnvironmentStringsW(text.c_str(), &expanded[0], units);
  if (written == 0 || written > units) return std::wstring();
  expanded.resize(std::wcslen(expanded.c_str()));
  return expanded;
}

// Reads the default value of a key under HKEY_CLASSES_ROOT as text, of any
// length, with the variables of a REG_EXPAND_SZ expanded; false when the key
// does not open, or its value is not text or holds nothing but spaces.
// Reading needs no more than read access, which every user has.
bool readDefaultValue(const std::wstring& keyPath, std::wstring& value) {
  value.clear();
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return false;
  }
  DWORD type = REG_NONE;
  DWORD bytes = 0;
  LONG status = RegQueryValueExW(key, nullptr, nullptr, &type, nullptr, &bytes);
  // One unit more than asked for, so that an odd byte count still fits.
  std::wstring data(bytes / sizeof(wchar_t) + 1, L'\0');
  if (status == ERROR_SUCCESS) {
    bytes = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    status = RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &bytes);
  }
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
  value = launch::registryText(data.data(), bytes / sizeof(wchar_t));
  if (type == REG_EXPAND_SZ) value = withVariablesExpanded(value);
  return !launch::isBlank(value);
}

// The command the shell itself opens a .htm file with. Since Windows 8 the
// user's choice of browser is kept apart from HKEY_CLASSES_ROOT\.htm, whose
// class is then usually still the old one; the shell follows the choice.
bool shellCommand(std::wstring& command) {
  DWORD units = 0;
  if (AssocQueryStringW(ASSOCF_NONE, ASSOCSTR_COMMAND, L".htm", L"open", nullptr, &units) != S_FALSE) {
    return false;
  }
  std::wstring text(units, L'\0');
  if (AssocQueryStringW(ASSOCF_NONE, ASSOCSTR_COMMAND, L".htm", L"open", &text[0], &units) != S_OK) {
    return false;
  }
  // The shell does not tell whether the command was stored to be expanded,
  // and Wine hands it over as stored. A command already expanded holds no
  // %NAME% of a set variable, so expanding it once more changes nothing.
  text.resize(std::wcslen(text.c_str()));
  command = withVariablesExpanded(text);
  return !launch::isBlank(command);
}

// Starts the command line without waiting for it: waiting would hold the pet
// and its menu until a slow browser first waits for input.
void startWithoutWaiting(std::wstring commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_RESTORE;
  PROCESS_INFORMATION started{};
  // CreateProcessW may write into the command line, so it gets a copy of its own.
  if (CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &started)) {
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

bool classesRootCommand(std::wstring& command) {
  command.clear();
  std::wstring className;
  if (!readDefaultValue(L".htm", className)) return false;
  return readDefaultValue(launch::commandKeyPath(className), command);
}

bool buildHomePageCommand(std::wstring& commandLine) {
  commandLine.clear();
  // Without a command there is nothing to start: a program named by what is
  // left would be searched for in the pet's folder and on the PATH.
  std::wstring command;
  if (!shellCommand(command) && !classesRootCommand(command)) return false;
  commandLine = launch::homePageCommand(command);
  return true;
}

void OpenHomePage() {
  std::wstring commandLine;
  if (buildHomePageCommand(commandLine)) startWithoutWaiting(commandLine);
}
