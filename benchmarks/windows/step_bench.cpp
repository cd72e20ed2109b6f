// pet-step-bench [SECONDS]: times the pet's real steps, composition included,
// on the current display, standing, walking and in a many-framed act, then lets
// the pet live on its own timer for SECONDS (60 by default) and reports the
// process's CPU time per second; all of it in a window shaped by a region per
// frame (the palette display's way, forced at the display's depth), in the
// colour-keyed window, and in the keyed window at twice the size, as on a
// display at 200 %.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "assets/animation_table.h"
#include "pet/desktop_pet.h"

namespace {

DesktopPet* livingPet = nullptr;
DesktopPet* paintingPet = nullptr;

LRESULT CALLBACK benchProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT && paintingPet) {
    paintingPet->answerPaint(window);
    return 0;
  }
  if (message == WM_TIMER && livingPet) {
    livingPet->watchForeground();
    livingPet->PetStep(Tick);
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND makePetWindow(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = benchProc;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  windowClass.lpszClassName = L"MorvetBench";
  RegisterClassExW(&windowClass);
  return CreateWindowExW(WS_EX_LAYERED | WS_EX_APPWINDOW, L"MorvetBench", L"bench",
                         WS_POPUP | WS_VISIBLE, 150, 100, 0, 0, nullptr, nullptr, instance,
                         nullptr);
}

// Lets Wine show the last painting, as the real message loop does between steps.
void pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message != WM_TIMER) DispatchMessageW(&message);
  }
}

double microseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  return double(to.QuadPart - from.QuadPart) * 1e6 / double(frequency.QuadPart);
}

void report(const char* what, std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  const double median = samples[samples.size() / 2];
  const double p99 = samples[samples.size() * 99 / 100];
  double sum = 0;
  for (double sample : samples) sum += sample;
  std::printf("%-9s steps: %zu, median %.0f us, mean %.0f us, 99th percentile %.0f us\n", what,
              samples.size(), median, sum / samples.size(), p99);
}

// What each tick costs besides the step: a look for a running screen saver and
// for a full-screen program in front.
std::vector<double> timeWatches(DesktopPet& pet, int count) {
  std::vector<double> samples;
  for (int i = 0; i < count; ++i) {
    pump();
    LARGE_INTEGER before, after;
    QueryPerformanceCounter(&before);
    if (!screenSaverRunning()) pet.watchForeground();
    QueryPerformanceCounter(&after);
    samples.push_back(microseconds(before, after));
  }
  return samples;
}

// Steps of one act, kept too young to change; `moves` makes it walk.
std::vector<double> timeSteps(DesktopPet& pet, int count, int32_t act, int32_t moves) {
  pet.animation = act;
  pet.currentFrame = &pet.animations[act];
  std::vector<double> samples;
  for (int i = 0; i < count; ++i) {
    pet.animation = act;
    pet.motionKind = moves;
    pet.behaviourTicks = -100000;  // too young to change its act
    pump();
    LARGE_INTEGER before, after;
    QueryPerformanceCounter(&before);
    pet.PetStep(Tick);
    QueryPerformanceCounter(&after);
    samples.push_back(microseconds(before, after));
  }
  return samples;
}

// Both ways of shaping the window, one after the other on the same display.
void shapeTheWindow(DesktopPet& pet, bool keyed) {
  if (keyed) {
    if (!pet.shapeByKey()) std::printf("the system refused the colour key\n");
  } else {
    pet.shapeByRegions();
  }
  pet.composeAndPaint();
  std::printf("%s window\n", pet.shapes.keyed ? "keyed" : "region");
}

void timeActs(DesktopPet& pet) {
  report("standing", timeSteps(pet, 1000, slot::STAND, motion::STANDS));
  report("walking", timeSteps(pet, 1000, slot::WALK, motion::WALKS));
  report("act NO", timeSteps(pet, 1000, slot::NO, motion::STANDS));
}

double cpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto seconds = [](FILETIME t) {
    return double((ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

void live(DesktopPet& pet, int seconds) {
  pet.behaviourTicks = 0;
  pet.animation = slot::STAND;
  pet.motionKind = motion::STANDS;
  pet.rearmTimer(pet.timerPeriod);
  const double cpuBefore = cpuSeconds();
  const DWORD start = GetTickCount();
  MSG message;
  while (GetTickCount() - start < DWORD(seconds) * 1000) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  KillTimer(pet.window, pet.timerId);
  const double cpu = cpuSeconds() - cpuBefore;
  std::printf("living    %d s at %d ms a step: CPU %.3f s, %.2f %% of one core\n", seconds,
              pet.timerPeriod, cpu, 100.0 * cpu / seconds);
}

}  // namespace

int main(int argc, char** argv) {
  const int lifeSeconds = argc > 1 ? std::atoi(argv[1]) : 60;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  static DesktopPet pet(7, Tick, 70);
  HWND window = makePetWindow(instance);
  pet.buildPalette(instance);
  pet.attach(instance, window);
  for (const AnimationEntry& entry : animationTable) {
    pet.loadAnimation(entry.name, entry.frameCount, entry.slot, entry.motionKind);
  }
  pet.settle();
  paintingPet = &pet;
  KillTimer(window, pet.timerId);  // the timed steps are driven from here

  std::printf("display: %d bits per pixel\n", pet.bytesPerPixel * 8);
  report("watching", timeWatches(pet, 1000));
  for (const bool keyed : {false, true}) {
    shapeTheWindow(pet, keyed);
    timeActs(pet);
    livingPet = &pet;
    live(pet, lifeSeconds);
    livingPet = nullptr;
  }
  // The same pet made anew for a display at 200 %.
  petReadDpi = [](const PixelRect&) { return 2 * STANDARD_DPI; };
  pet.followScale();
  std::printf("%s window at %d screen pixels a pet pixel\n", pet.shapes.keyed ? "keyed" : "region",
              pet.scale.factor);
  timeActs(pet);
  livingPet = &pet;
  live(pet, lifeSeconds);
  livingPet = nullptr;
  return 0;
}
