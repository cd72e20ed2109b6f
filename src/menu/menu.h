#pragma once
#include <windows.h>

#include <string>

// Control ids of the menu dialog.
constexpr int MENU_HOME_PAGE_BUTTON = 1000;
constexpr int MENU_CONTINUE_BUTTON = 1001;
constexpr int MENU_MUTE_CHECKBOX = 1004;
constexpr int MENU_CLOSE_BUTTON = 1006;

// What the menu tells the pet.
constexpr INT_PTR MENU_RESULT_CLOSE = 0;
constexpr INT_PTR MENU_RESULT_KEEP = 1;

INT_PTR CALLBACK PetMenuProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Starts the user's browser, the program that opens .htm files, on the maker's
// home page.
void OpenHomePage();
// Builds that command line; false when the system gave no command to start.
bool buildHomePageCommand(std::wstring& commandLine);
// The command registered for .htm files as two reads of HKEY_CLASSES_ROOT give
// it: the class named by .htm, then that class's shell\open\command. False
// when there is none.
bool classesRootCommand(std::wstring& command);
