#pragma once
#include <windows.h>

#include "pet/desktop_pet.h"

// The one pet of the program, built before WinMain runs and torn down at exit.
extern DesktopPet thePet;
extern HINSTANCE appInstance;
extern HWND appWindow;

// Input state, written only by the window procedure (and the menu for menuOpen).
extern int dragging;
extern int keyHeld;
extern int menuOpen;

constexpr wchar_t PET_CLASS_NAME[] = L"Morvet";
constexpr wchar_t PET_WINDOW_TITLE[] = L"Morvet";
constexpr int PET_MARGIN = 7;
constexpr int ICON_RESOURCE = 1002;
constexpr int CURSOR_RESOURCE = 111;
constexpr int MENU_DIALOG_RESOURCE = 107;

LRESULT CALLBACK PetWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
