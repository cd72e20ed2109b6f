#include "app/app.h"

DesktopPet thePet(PET_MARGIN, Tick, PET_TIMER_PERIOD_MS);
HINSTANCE appInstance = nullptr;
HWND appWindow = nullptr;
