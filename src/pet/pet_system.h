#pragma once
#include <windows.h>
#include <shellapi.h>

#include <cstdint>

#include "render/screen_area.h"

// The calls to the system that tests and the trace tool stand in for, each the
// real call by default. A stand-in sees what the pet asks of the system (the
// periods of its timer, its paints, its window's shape and moves, the objects
// it makes and frees) or answers for a system Wine cannot show (monitors of
// their own scale and work area, a cursor that cannot be read, a refused key,
// Windows' report of a full-screen game).
struct PetSystem {
  UINT_PTR(WINAPI* setTimer)(HWND, UINT_PTR, UINT, TIMERPROC);
  BOOL(WINAPI* getCursorPos)(LPPOINT);
  // The copies of the pet's picture into its window only.
  BOOL(WINAPI* paintWindow)(HDC, int, int, int, int, HDC, int, int, DWORD);
  int(WINAPI* setWindowRgn)(HWND, HRGN, BOOL);
  BOOL(WINAPI* setLayeredWindowAttributes)(HWND, COLORREF, BYTE, DWORD);
  // The pet's own window's moves; Windows sends WM_DPICHANGED from inside one
  // that takes the window onto a monitor of another scale.
  BOOL(WINAPI* setWindowPos)(HWND, HWND, int, int, int, int, UINT);
  // The monitor that holds most of a rectangle of the screen (the nearest one
  // when none holds any) and its work area; false when the system cannot tell.
  bool (*findArea)(const PixelRect& onScreen, PetArea* area);
  // The DPI of the monitor that holds most of a rectangle of the screen.
  int32_t (*readDpi)(const PixelRect& onScreen);
  HRESULT(WINAPI* queryNotificationState)(QUERY_USER_NOTIFICATION_STATE*);
  // Every GDI object and display context the pet makes passes here as it is
  // made (null when it could not be), and is freed through one of the two
  // deletes below; the palette alone lives until the process ends.
  HGDIOBJ (*madeObject)(HGDIOBJ made);
  BOOL(WINAPI* deleteObject)(HGDIOBJ);
  BOOL(WINAPI* deleteDC)(HDC);
};

extern PetSystem petSystem;

inline PixelRect pixelRectOf(const RECT& rect) {
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

// The system's own answers behind findArea and readDpi.
bool systemAreaOf(const PixelRect& onScreen, PetArea* area);
int32_t systemDpiOf(const PixelRect& onScreen);

template <typename Handle>
Handle madeByPet(Handle made) {
  return static_cast<Handle>(petSystem.madeObject(made));
}

// Frees a bitmap or a region of the pet's and forgets it.
template <typename Handle>
void releaseObject(Handle& object) {
  if (object) petSystem.deleteObject(object);
  object = nullptr;
}

// Frees a display context of the pet's and forgets it.
void releaseContext(HDC& context);
