#include "pet/desktop_pet.h"

#include <mmsystem.h>
#include <wtsapi32.h>

#include "pet/random.h"


const wchar_t* const PET_CAPTION = L"霜牙說";

namespace {
const wchar_t* const TIMER_CHANGE_REFUSED_TEXT = L"我要找聞人蘋\n沒時間和你玩";
}

DesktopPet::DesktopPet(int32_t margin, int32_t command, int32_t timerPeriod)
    : DesktopPet(margin, command, timerPeriod, GetTickCount()) {}

DesktopPet::DesktopPet(int32_t margin, int32_t command, int32_t timerPeriod, uint32_t seed) {
  for (int32_t s = 0; s < slot::COUNT; ++s) {
    drawing.animations[s] = AnimationList{};
    motionKinds[s] = motion::STANDS;
  }
  seedRandom(seed);
  targetX = nextRandom() % 200 + 300;
  insertAfter = HWND_TOPMOST;
  behaviourTicks = 0;
  animation = slot::STAND;
  targetY = nextRandom() % 100 + 400;
  timerId = nextRandom() % 1024;
  this->margin = margin;
  this->command = command;
  this->timerPeriod = timerPeriod;
  border = 2 * margin;
  soundEnabled = 1;
  drawing.maxFramePixels = 0;
}

DesktopPet::~DesktopPet() {
  // Nothing is painted back where the pet stood: its saved background may be
  // older than the desktop now, and the system repaints what the window uncovers.
  releaseAnimations();
  releaseShapes();
  restorePalette();
  releaseSurfaces();
  if (window) {
    KillTimer(window, timerId);
    WTSUnRegisterSessionNotification(window);
    if (displayPowerNotification) UnregisterPowerSettingNotification(displayPowerNotification);
  }
  parkWindow();
}

bool screenSaverRunning() {
  BOOL running = FALSE;
  return SystemParametersInfoW(SPI_GETSCREENSAVERRUNNING, 0, &running, 0) && running;
}

void DesktopPet::attach(HINSTANCE instance, HWND window) {
  this->instance = instance;
  this->window = window;
  drawing.displayBitsPerPixel = screenDC ? GetDeviceCaps(screenDC, BITSPIXEL) : 0;
  readScale();  // before the frames are loaded: they are scaled as they come
  findArea(PRIMARY_ORIGIN, &home);
  // The lock screen and a lost remote session hold the pet's steps.
  WTSRegisterSessionNotification(window, NOTIFY_FOR_THIS_SESSION);
  // So does a display turned off; Windows 7 lacks the console's display state
  // and tells only the monitor's power.
  displayPowerNotification = RegisterPowerSettingNotification(
      window, &GUID_CONSOLE_DISPLAY_STATE, DEVICE_NOTIFY_WINDOW_HANDLE);
  if (!displayPowerNotification) {
    displayPowerNotification = RegisterPowerSettingNotification(
        window, &GUID_MONITOR_POWER_ON, DEVICE_NOTIFY_WINDOW_HANDLE);
  }
  // The program carries no sound; the call stays silent by SND_NODEFAULT.
  PlaySoundA("SND1", instance, SND_RESOURCE | SND_ASYNC | SND_NODEFAULT | SND_NOWAIT);
}

void DesktopPet::rearmTimer(int32_t period) {
  if (petSystem.setTimer(window, timerId, period, nullptr)) return;
  // The box's own loop goes on dispatching the pet's timer, and those steps may
  // be refused too: one box is enough, the program is ending anyway.
  if (timerChangeReported) return;
  timerChangeReported = 1;
  MessageBoxW(window, TIMER_CHANGE_REFUSED_TEXT, PET_CAPTION, MB_OK);
  SendMessageW(window, WM_DESTROY, 0, 0);
}

void DesktopPet::setSoundEnabled(int32_t flag) { soundEnabled = flag; }

// Held (locked, minimized, under a full-screen program, the display off) the
// pet takes no steps and ticks slowly; a full-screen program in front hides it.

namespace {

constexpr int32_t FOREGROUND_LOOK_TICKS = 4;

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
  if (!coversWhole(petPixelsOf(pixelRectOf(frontRect), drawing.factor), home.monitor)) return false;
  if (bareOfCaptionAndFrame(static_cast<DWORD>(GetWindowLongPtrW(front, GWL_STYLE)))) return true;
  QUERY_USER_NOTIFICATION_STATE state{};
  if (FAILED(petSystem.queryNotificationState(&state))) return false;
  return state == QUNS_RUNNING_D3D_FULL_SCREEN || state == QUNS_PRESENTATION_MODE;
}
