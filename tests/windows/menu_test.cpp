#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "app/app.h"
#include "menu/menu.h"

namespace {

// What the menu looked like when it opened, and the clicks to give it.
struct MenuVisit {
  std::vector<WPARAM> commands;
  bool checkboxChecked = false;
  bool checkboxVisible = true;
  bool checkboxEnabled = true;
  int focusedId = 0;
  std::wstring title;
  std::vector<int> buttonsOfCommonControls6;
};
MenuVisit clicking(std::vector<WPARAM> commands) {
  MenuVisit planned;
  planned.commands = std::move(commands);
  return planned;
}
MenuVisit* visit = nullptr;
HHOOK hook = nullptr;

// A button of the common controls of version 6 belongs to comctl32 and answers
// their BCM_ messages. Without the manifest's dependency the system's own button
// class (user32) draws it the way of Windows 2000; version 5 of comctl32 has no
// button class.
bool fromCommonControls6(HWND button) {
  HMODULE owner = nullptr;
  const auto procedure = reinterpret_cast<LPCWSTR>(GetClassLongPtrW(button, GCLP_WNDPROC));
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                              GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          procedure, &owner)) {
    return false;
  }
  wchar_t path[MAX_PATH] = L"";
  GetModuleFileNameW(owner, path, MAX_PATH);
  const wchar_t* name = std::wcsrchr(path, L'\\');
  SIZE idealSize{};
  return name && _wcsicmp(name + 1, L"comctl32.dll") == 0 &&
         SendMessageW(button, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&idealSize)) == TRUE;
}

LRESULT CALLBACK driveMenu(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && visit) {
    HWND dialog = reinterpret_cast<HWND>(wParam);
    HWND checkbox = GetDlgItem(dialog, MENU_MUTE_CHECKBOX);
    visit->checkboxChecked = SendMessageW(checkbox, BM_GETCHECK, 0, 0) == BST_CHECKED;
    visit->checkboxVisible = (GetWindowLongW(checkbox, GWL_STYLE) & WS_VISIBLE) != 0;
    visit->checkboxEnabled = IsWindowEnabled(checkbox) != FALSE;
    wchar_t title[64] = L"";
    GetWindowTextW(dialog, title, 64);
    visit->title = title;
    for (int id :
         {MENU_HOME_PAGE_BUTTON, MENU_MUTE_CHECKBOX, MENU_CONTINUE_BUTTON, MENU_CLOSE_BUTTON}) {
      HWND button = GetDlgItem(dialog, id);
      if (fromCommonControls6(button)) visit->buttonsOfCommonControls6.push_back(id);
    }
    for (WPARAM command : visit->commands) {
      if (command == WM_CLOSE) {
        PostMessageW(dialog, WM_CLOSE, 0, 0);
      } else if (command == BM_SETCHECK) {
        PostMessageW(checkbox, BM_SETCHECK, BST_CHECKED, 0);
      } else {
        PostMessageW(dialog, WM_COMMAND, command, 0);
      }
    }
    visit = nullptr;
  }
  return CallNextHookEx(hook, code, wParam, lParam);
}

class PetMenu : public ::testing::Test {
 protected:
  void SetUp() override {
    hook = SetWindowsHookExW(WH_CBT, driveMenu, nullptr, GetCurrentThreadId());
    thePet.soundEnabled = 1;
    menuOpen = 1;  // as the right click leaves it
  }
  void TearDown() override { UnhookWindowsHookEx(hook); }
  INT_PTR show(MenuVisit& planned) {
    visit = &planned;
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(MENU_DIALOG_RESOURCE),
                           GetDesktopWindow(), PetMenuProc, 0);
  }
};

TEST_F(PetMenu, ContinueKeepsThePetAndEscOrCloseDoNothing) {
  MenuVisit planned = clicking({IDCANCEL, IDOK, WM_CLOSE, 4242, MENU_CONTINUE_BUTTON});
  EXPECT_EQ(show(planned), MENU_RESULT_KEEP);
  EXPECT_EQ(menuOpen, 0);
  EXPECT_EQ(planned.title, L"澄曦數碼-夢舞華章小可愛");
  EXPECT_FALSE(planned.checkboxChecked) << "sound on: the mute box is clear";
  EXPECT_FALSE(planned.checkboxVisible);
  EXPECT_FALSE(planned.checkboxEnabled);
}

TEST_F(PetMenu, CloseEndsTheProgramAndLeavesTheMenuMarkedOpen) {
  thePet.soundEnabled = 0;
  MenuVisit planned = clicking({MENU_CLOSE_BUTTON});
  EXPECT_EQ(show(planned), MENU_RESULT_CLOSE);
  EXPECT_EQ(menuOpen, 1);
  EXPECT_TRUE(planned.checkboxChecked) << "sound off: the mute box is checked";
}

TEST_F(PetMenu, ButtonsAreThoseOfTheCommonControlsOfVersion6) {
  MenuVisit planned = clicking({MENU_CONTINUE_BUTTON});
  show(planned);
  EXPECT_EQ(planned.buttonsOfCommonControls6,
            (std::vector<int>{MENU_HOME_PAGE_BUTTON, MENU_MUTE_CHECKBOX, MENU_CONTINUE_BUTTON,
                              MENU_CLOSE_BUTTON}))
      << "the system's visual style needs the manifest's dependency";
}

TEST_F(PetMenu, TheMuteBoxSetsTheSoundSwitch) {
  MenuVisit planned = clicking({BM_SETCHECK, MENU_MUTE_CHECKBOX, MENU_CONTINUE_BUTTON});
  show(planned);
  EXPECT_EQ(thePet.soundEnabled, 0);
  MenuVisit cleared = clicking({MENU_MUTE_CHECKBOX, MENU_CONTINUE_BUTTON});
  thePet.soundEnabled = 0;
  show(cleared);
  EXPECT_EQ(thePet.soundEnabled, 0) << "the box opened checked and stayed so";
}

// Sets HKEY_CLASSES_ROOT values for one test and puts the old ones back.
class HomePageRegistry : public ::testing::Test {
 protected:
  static constexpr const wchar_t* COMMAND_KEY = L"MorvetTestPage\\shell\\open\\command";
  void SetUp() override {
    savedHtm = readText(L".htm");
    hadHtm = savedHtm.has;
  }
  void TearDown() override {
    if (hadHtm) {
      writeText(L".htm", savedHtm.text);
    } else {
      RegDeleteKeyW(HKEY_CLASSES_ROOT, L".htm");
    }
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"MorvetTestPage");
    RegDeleteTreeW(HKEY_CLASSES_ROOT, LONG_CLASS.c_str());
  }
  struct Saved {
    bool has = false;
    std::wstring text;
  };
  static Saved readText(const wchar_t* path) {
    Saved saved;
    wchar_t data[512] = L"";
    LONG size = sizeof data;
    saved.has = RegQueryValueW(HKEY_CLASSES_ROOT, path, data, &size) == ERROR_SUCCESS;
    saved.text = data;
    return saved;
  }
  static void writeValue(const std::wstring& path, DWORD type, const void* data, size_t bytes) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
    RegSetValueExW(key, nullptr, 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(bytes));
    RegCloseKey(key);
  }
  static void writeText(const std::wstring& path, const std::wstring& text, DWORD type = REG_SZ) {
    writeValue(path, type, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  }
  // The whole command line the home-page button would start.
  static std::wstring command() {
    std::wstring line;
    if (!buildHomePageCommand(line)) return L"<nothing>";
    return line;
  }
  // The registered command as the pet's own two registry reads give it.
  static std::wstring twoReads() {
    std::wstring found;
    if (!classesRootCommand(found)) return L"<nothing>";
    return found;
  }
  static const std::wstring LONG_CLASS;
  Saved savedHtm;
  bool hadHtm = false;
};
const std::wstring HomePageRegistry::LONG_CLASS(200, L'c');

TEST_F(HomePageRegistry, TheRegisteredCommandLosesItsArgumentAndGainsTheAddress) {
  writeText(L".htm", L"MorvetTestPage");
  writeText(COMMAND_KEY, L"\"C:\\b\\browser.exe\" --flag \"%1\"");
  EXPECT_EQ(command(), L"\"C:\\b\\browser.exe\" --flag   www.example.com");
}

TEST_F(HomePageRegistry, OddRegistryValuesAreNeverReadPastTheirEnd) {
  writeText(L".htm", L"MorvetTestPage");
  const wchar_t unterminated[] = {L'r', L'u', L'n', L' ', L'x'};
  writeValue(COMMAND_KEY, REG_SZ, unterminated, sizeof unterminated);
  EXPECT_EQ(twoReads(), L"run x");
  writeValue(COMMAND_KEY, REG_SZ, unterminated, sizeof unterminated - 1);
  EXPECT_EQ(twoReads(), L"run ") << "half a character is no character";

  const DWORD number = 0x41414141;
  writeValue(COMMAND_KEY, REG_DWORD, &number, sizeof number);
  EXPECT_EQ(twoReads(), L"<nothing>") << "a value that is not text is no command";

  writeText(COMMAND_KEY, L"");
  EXPECT_EQ(command(), L"<nothing>") << "an empty command starts nothing";
  writeText(COMMAND_KEY, L"   ");
  EXPECT_EQ(command(), L"<nothing>") << "nor does one of spaces alone";
}

TEST_F(HomePageRegistry, LongClassNamesAndCommandsAreReadWhole) {
  writeText(L".htm", LONG_CLASS);
  const std::wstring longCommand = L"run " + std::wstring(300, L'a') + L" %1";
  writeText(LONG_CLASS + L"\\shell\\open\\command", longCommand);
  EXPECT_EQ(command(), L"run " + std::wstring(300, L'a') + L"   www.example.com");
  EXPECT_EQ(twoReads(), longCommand);
}

TEST_F(HomePageRegistry, AnExpandableCommandHasItsVariablesExpanded) {
  SetEnvironmentVariableW(L"MORVET_TEST_BROWSERS", L"C:\\Test Browsers\\瀏覽器");
  writeText(L".htm", L"MorvetTestPage");
  writeText(COMMAND_KEY, L"\"%MORVET_TEST_BROWSERS%\\browser.exe\" \"%1\"", REG_EXPAND_SZ);
  EXPECT_EQ(command(), L"\"C:\\Test Browsers\\瀏覽器\\browser.exe\"   www.example.com");
  EXPECT_EQ(twoReads(), L"\"C:\\Test Browsers\\瀏覽器\\browser.exe\" \"%1\"");
  SetEnvironmentVariableW(L"MORVET_TEST_BROWSERS", nullptr);
}

}  // namespace
