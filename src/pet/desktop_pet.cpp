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
    animations[s] = AnimationList{};
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
  maxFramePixels = 0;
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
  displayBitsPerPixel = screenDC ? GetDeviceCaps(screenDC, BITSPIXEL) : 0;
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
