#include "pet/desktop_pet.h"
#include "render/pet_scale.h"

// The desktop changes under the pet: resolutions, monitors, their scales and
// work areas. The pet lives on the monitor that holds most of it, above its
// taskbar, and comes back onto a monitor it has lost.

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
  *area = {petPixelsOf(found.monitor, drawing.factor), petPixelsOf(found.work, drawing.factor)};
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
    x = petPixelsOf(placed.left, drawing.factor) + margin;
    y = petPixelsOf(placed.top, drawing.factor) + margin;
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
