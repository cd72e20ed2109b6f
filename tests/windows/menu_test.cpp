#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/app.h"
#include "menu/launch_text.h"
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
};
MenuVisit clicking(std::vector<WPARAM> commands) {
  MenuVisit planned;
  planned.commands = std::move(commands);
  return planned;
}
MenuVisit* visit = nullptr;
HHOOK hook = nullptr;

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
  void SetUp() override {
    savedHtm = readText(".htm");
    hadHtm = savedHtm.has;
  }
  void TearDown() override {
    if (hadHtm) {
      writeValue(".htm", REG_SZ, savedHtm.text.c_str(), savedHtm.text.size() + 1);
    } else {
      RegDeleteKeyA(HKEY_CLASSES_ROOT, ".htm");
    }
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "MorvetTestPage");
    RegDeleteTreeA(HKEY_CLASSES_ROOT, std::string(108, 'c').c_str());
  }
  struct Saved {
    bool has = false;
    std::string text;
  };
  static Saved readText(const char* path) {
    Saved saved;
    char data[512] = "";
    LONG size = sizeof data;
    saved.has = RegQueryValueA(HKEY_CLASSES_ROOT, path, data, &size) == ERROR_SUCCESS;
    saved.text = data;
    return saved;
  }
  static void writeValue(const char* path, DWORD type, const void* data, size_t bytes) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CLASSES_ROOT, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExA(key, nullptr, 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(bytes));
    RegCloseKey(key);
  }
  static void writeText(const char* path, const std::string& text) {
    writeValue(path, REG_SZ, text.c_str(), text.size() + 1);
  }
  static std::string command() {
    char line[launch::COMMAND_BYTES];
    if (!buildHomePageCommand(line)) return "<nothing>";
    return line;
  }
  Saved savedHtm;
  bool hadHtm = false;
};

TEST_F(HomePageRegistry, TheRegisteredCommandLosesItsArgumentAndGainsTheAddress) {
  writeText(".htm", "MorvetTestPage");
  writeText("MorvetTestPage\\shell\\open\\command", "\"C:\\b\\browser.exe\" --flag \"%1\"");
  EXPECT_EQ(command(), "\"C:\\b\\browser.exe\" --flag   www.example.com");
}

TEST_F(HomePageRegistry, OddRegistryValuesAreNeverReadPastTheirEnd) {
  writeText(".htm", "MorvetTestPage");
  const char unterminated[] = {'r', 'u', 'n', ' ', 'x'};
  writeValue("MorvetTestPage\\shell\\open\\command", REG_SZ, unterminated, sizeof unterminated);
  EXPECT_EQ(command(), "run   www.example.com");

  const DWORD number = 0x41414141;
  writeValue("MorvetTestPage\\shell\\open\\command", REG_DWORD, &number, sizeof number);
  EXPECT_EQ(command(), "<nothing>") << "a value that is not text is no command";

  writeText("MorvetTestPage\\shell\\open\\command", std::string(300, 'a') + " b");
  EXPECT_EQ(command(), "<nothing>") << "a command too long for the buffer is dropped";

  writeText("MorvetTestPage\\shell\\open\\command", "");
  EXPECT_EQ(command(), "<nothing>") << "an empty command starts nothing";
  writeText("MorvetTestPage\\shell\\open\\command", "   ");
  EXPECT_EQ(command(), "<nothing>") << "nor does one of spaces alone";
}

TEST_F(HomePageRegistry, AClassNameTooLongForTheKeyPathLaunchesNothing) {
  writeText(".htm", std::string(109, 'c'));
  EXPECT_EQ(command(), "<nothing>");
  writeText(".htm", std::string(108, 'c'));
  writeText((std::string(108, 'c') + "\\shell\\open\\command").c_str(), "run %1");
  EXPECT_EQ(command(), "run   www.example.com") << "the longest name that fits";
}

}  // namespace
