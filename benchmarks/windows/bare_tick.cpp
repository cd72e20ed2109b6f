// bare-tick [SECONDS]: a bare Wine program whose 70-ms timer does nothing, for
// SECONDS (30 unless given): what the tick alone costs. living_cpu.sh runs it.
#include <windows.h>

#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
  const DWORD seconds = *arguments ? std::atoi(arguments) : 30;
  SetTimer(nullptr, 0, 70, nullptr);
  const DWORD start = GetTickCount();
  MSG message;
  while (GetTickCount() - start < seconds * 1000 && GetMessageW(&message, nullptr, 0, 0) > 0) {
    DispatchMessageW(&message);
  }
  return 0;
}
