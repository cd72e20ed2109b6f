#include "pet/desktop_pet.h"
#include "render/pet_scale.h"

// The desktop changes under the pet: resolutions and monitors, the lock screen,
// full-screen programs, a minimized window, a display turned off. The pet
// comes back onto a monitor it has lost, holds still while it is not seen,
// and hides under a full-screen program.

namespace {

constexpr int32_t FOREGROUND_LOOK_TICKS = 4;

PixelRect pixelRect(const RECT& rect) {
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

// The pet, its menu and its message boxes, the desktop and the shell's windows
// behind the icons all cover the screen without being a program in front.
bool isOwnOrDesktop(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId()) return true;
  if (window == GetDesktopWindow() || window == GetShellWindow()) return true;
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  return lstrcmpW(className, L"Progman") == 0 || lstrcmpW(className, L"WorkerW") == 0;
}

}  // namespace

// For a while after a change of resolution the system may report the old work
// area with the new monitor, until the shell has worked out the new one.
bool homeAreaOf(const PixelRect& rect, PetArea* area) {
  PetArea found{};
  if (!petSystem.findArea(rect, &found)) return false;
  *area = {found.monitor, workOnMonitor(found.work, found.monitor)};
  return true;
}

// The monitor and work area that hold most of a rectangle of the screen, seen
// in the pet's own pixels.
bool DesktopPet::findArea(const PixelRect& onScreen, PetArea* area) const {
  PetArea found{};
  if (!homeAreaOf(onScreen, &found)) return false;
  *area = {petPixelsOf(found.monitor, scale.factor), petPixelsOf(found.work, scale.factor)};
  return true;
}

PixelRect DesktopPet::spriteRect() const { return {x, y, spriteWidth, spriteHeight}; }

// The monitor and work area are read again where they can change: a drag's end,
// a walk across a seam, a display or work-area change. A walk target left
// outside a changed area is brought back in, and the pet goes on.
void DesktopPet::followArea() {
  PetArea area{};
  if (!findArea(spriteOnScreen(), &area)) return;
  const bool changed = !sameRect(area.monitor, home.monitor) || !sameRect(area.work, home.work);
  home = area;
  if (changed) keepTargetOnScreen();
}

// Only a pet that has left most of its monitor asks the system, so a standing
// or walking pet at home costs nothing more.
void DesktopPet::followAcrossSeam() {
  if (!holdsHalfOrMore(home.monitor, spriteRect())) followArea();
}

// A new colour depth, or a monitor of another scale where the pet now stands,
// makes everything anew once the pet stands where it belongs.
void DesktopPet::followDisplay() {
  if (!hasSurfaces()) return;
  ++scale.busy;
  // The system may have moved the window itself (a monitor unplugged): the pet
  // takes the place it was given instead of putting the window back. A
  // minimized window's place is the system's parking spot, not the pet's.
  RECT placed{};
  if (!picture.hidden && !minimized() && GetWindowRect(window, &placed)) {
    x = petPixelsOf(placed.left, scale.factor) + margin;
    y = petPixelsOf(placed.top, scale.factor) + margin;
  }
  bringOntoNearestMonitor();
  keepTargetOnScreen();
  // Seen at once where it now stands, before it walks on; held (locked, the
  // display off), the window must not wait off the screen for the release.
  composeAndPaint();
  --scale.busy;
  followScale();
}

void DesktopPet::bringOntoNearestMonitor() {
  PetArea area{};
  if (!findArea(spriteOnScreen(), &area)) return;
  home = area;
  const PixelRect onto = pulledOnto(spriteRect(), area.monitor);
  x = onto.left;
  y = onto.top;
}

// A minimized window keeps its taskbar button, the way back: only a
// full-screen program hides it.
void DesktopPet::holdSteps(int32_t reason) {
  if (heldBy & reason) return;
  if (!heldBy && hasSurfaces()) rearmTimer(HELD_PERIOD_MS);
  heldBy |= reason;
  if (reason == HELD_BY_FULL_SCREEN) hideWindow();
}

// Back where it stood: a window that was hidden shows again there, and one
// that was minimized, which the system moved off and maybe painted over, is
// drawn and placed afresh.
void DesktopPet::releaseSteps(int32_t reason) {
  if (!(heldBy & reason)) return;
  heldBy &= ~reason;
  if (reason == HELD_BY_MINIMIZED) picture.scale = 0;
  if (heldBy) return;
  applyPendingChange();
  if (picture.hidden) showWindowAgain();
  if (!hasSurfaces()) return;
  rearmTimer(timerPeriod);
  composeAndPaint();
}

// Every few ticks is soon enough to see a program go full-screen, and keeps
// the look from weighing on the standing steps.
void DesktopPet::watchForeground() {
  // Hidden, a minimized window would lose its taskbar button.
  if (!hasSurfaces() || minimized()) return;
  const bool held = (heldBy & HELD_BY_FULL_SCREEN) != 0;
  if (++ticksSinceForegroundLook < FOREGROUND_LOOK_TICKS && !held) return;
  ticksSinceForegroundLook = 0;
  // While the system switches between windows there may be none in front for
  // a moment: that says nothing about the program that had the screen, whose
  // own window tells whether it is still there. The hidden pet cannot take the
  // foreground when that program goes, so there may be none in front for long.
  HWND front = GetForegroundWindow();
  if (!front && held) front = fullScreenWindow;
  if (!front) return;
  const bool inFront = IsWindowVisible(front) && fullScreenProgramInFront(front);
  if (inFront && !held) {
    fullScreenWindow = front;
    holdSteps(HELD_BY_FULL_SCREEN);
  }
  if (!inFront && held) releaseSteps(HELD_BY_FULL_SCREEN);
}

namespace {

// Neither a title bar nor a sizing frame, as a full-screen video's or game's
// window has. WS_CAPTION is two bits, WS_BORDER and WS_DLGFRAME: a caption is
// both of them.
bool bareOfCaptionAndFrame(DWORD style) {
  return (style & WS_CAPTION) != WS_CAPTION && !(style & WS_THICKFRAME);
}

}  // namespace

// A maximized window covers its monitor too where the taskbar hides itself,
// title bar, frame and all: one with either is a full-screen program only when
// Windows reports a full-screen game or a presentation. The system is asked
// only then: most looks end at the window's rectangle, as they did before.
bool DesktopPet::fullScreenProgramInFront(HWND front) const {
  if (isOwnOrDesktop(front)) return false;
  RECT frontRect{};
  if (!GetWindowRect(front, &frontRect)) return false;
  if (!coversWhole(petPixelsOf(pixelRect(frontRect), scale.factor), home.monitor)) return false;
  if (bareOfCaptionAndFrame(static_cast<DWORD>(GetWindowLongPtrW(front, GWL_STYLE)))) return true;
  QUERY_USER_NOTIFICATION_STATE state{};
  if (FAILED(petSystem.queryNotificationState(&state))) return false;
  return state == QUNS_RUNNING_D3D_FULL_SCREEN || state == QUNS_PRESENTATION_MODE;
}
