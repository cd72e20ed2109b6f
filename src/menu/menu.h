#pragma once
#include <windows.h>

// Control ids of the menu dialog.
constexpr int MENU_HOME_PAGE_BUTTON = 1000;
constexpr int MENU_CONTINUE_BUTTON = 1001;
constexpr int MENU_MUTE_CHECKBOX = 1004;
constexpr int MENU_CLOSE_BUTTON = 1006;

// What the menu tells the pet.
constexpr INT_PTR MENU_RESULT_CLOSE = 0;
constexpr INT_PTR MENU_RESULT_KEEP = 1;

INT_PTR CALLBACK PetMenuProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Starts the program registered for .htm files on the maker's home page.
void OpenHomePage();
// Builds that command line into commandLine (launch::COMMAND_BYTES); false when
// the registry gave no command to start.
bool buildHomePageCommand(char* commandLine);
