#include "app/app.h"

DesktopPet thePet(PET_MARGIN, Tick, STEP_PERIOD_MS);
HINSTANCE appInstance = nullptr;
HWND appWindow = nullptr;
