// pet-step-bench [SECONDS]: times the pet's real steps, composition included,
// on the current display, standing, walking and in a many-framed act, and
// counts the paints of each step (the copies of its picture into the window,
// those the system asks for by WM_PAINT once the messages after the step are
// pumped included), then lets the pet live on its own timer for SECONDS (60 by
// default) and reports the process's CPU time per second; all of it in a window
// shaped by a region per frame (the palette display's way, forced at the
// display's depth), in the colour-keyed window, and in the keyed window at
// twice the size, as on a display at 200 %.
//
// pet-step-bench requests [TICKS]: steps the pet on its own timer through a
// message loop like the program's, TICKS ticks (100 by default) standing, in
// NO and walking, in the region window and then in the keyed one, and marks
// the start of each tick for the Wine server's trace with a request that names
// it (GlobalFindAtomW of "morvet-tick WINDOW ACT"); prints the paints of a tick.
// benchmarks/windows/step_requests.sh runs it under a traced server and counts
// the requests of each tick.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "assets/animation_table.h"
#include "pet/desktop_pet.h"

namespace {

DesktopPet* livingPet = nullptr;
DesktopPet* paintingPet = nullptr;
DesktopPet* markedPet = nullptr;

// Every copy of the pet's picture into its window passes here.
int paintsMade = 0;
BOOL WINAPI countingPaint(HDC target, int x, int y, int width, int height, HDC source, int sourceX,
                          int sourceY, DWORD operation) {
  ++paintsMade;
  return BitBlt(target, x, y, width, height, source, sourceX, sourceY, operation);
}

// The act a marked tick keeps the pet in, and the ticks' names in the trace.
struct MarkedAct {
  const char* name;
  int32_t act;
  int32_t moves;
};
const MarkedAct markedActs[] = {{"standing", slot::STAND, motion::STANDS},
                                {"NO", slot::NO, motion::STANDS},
                                {"walking", slot::WALK, motion::WALKS}};
const MarkedAct* markedAct = nullptr;
const char* markedWindow = "";
int markedTicksLeft = 0;
int markedTick = 0;
std::vector<double> tickPaints;

// The first tick of a run is named "warm" and the last "end": their spans hold
// the run's start and end, and the trace's reader leaves them out.
void markTick() {
  const bool last = --markedTicksLeft == 0;
  char label[80];
  if (markedTick == 0 || last) {
    std::snprintf(label, sizeof label, "morvet-tick %s", markedTick == 0 ? "warm" : "end");
  } else {
    std::snprintf(label, sizeof label, "morvet-tick %s %s", markedWindow, markedAct->name);
  }
  wchar_t wideLabel[80];
  MultiByteToWideChar(CP_UTF8, 0, label, -1, wideLabel, 80);
  GlobalFindAtomW(wideLabel);
  if (markedTick > 1) tickPaints.push_back(paintsMade);  // the tick before, mark to mark
  paintsMade = 0;
  ++markedTick;
}

// What the program's own tick does, in an act kept too young to change.
void markedStep(DesktopPet& pet) {
  markTick();
  pet.animation = markedAct->act;
  pet.motionKind = markedAct->moves;
  pet.behaviourTicks = -100000;
  if (screenSaverRunning()) return;
  pet.watchForeground();
  pet.PetStep(Tick);
}

LRESULT CALLBACK benchProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT && paintingPet) {
    paintingPet->answerPaint(window);
    return 0;
  }
  if (message == WM_TIMER && markedPet) markedStep(*markedPet);
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

double median(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  return samples.empty() ? 0 : samples[samples.size() / 2];
}

void reportPaints(const char* what, const std::vector<double>& paints) {
  double sum = 0;
  for (double paint : paints) sum += paint;
  std::printf("%-9s paints a step: median %.0f, mean %.2f\n", what, median(paints),
              paints.empty() ? 0 : sum / paints.size());
}

struct StepFigures {
  std::vector<double> microseconds;
  std::vector<double> paints;  // with those asked for after the step
};

// Steps of one act, kept too young to change; `moves` makes it walk. The
// messages the step leaves (a paint the system asks for) are pumped after it.
StepFigures timeSteps(DesktopPet& pet, int count, int32_t act, int32_t moves) {
  pet.animation = act;
  pet.currentFrame = &pet.drawing.animations[act];
  StepFigures figures;
  pump();
  for (int i = 0; i < count; ++i) {
    pet.animation = act;
    pet.motionKind = moves;
    pet.behaviourTicks = -100000;  // too young to change its act
    paintsMade = 0;
    LARGE_INTEGER before, after;
    QueryPerformanceCounter(&before);
    pet.PetStep(Tick);
    QueryPerformanceCounter(&after);
    pump();
    figures.microseconds.push_back(microseconds(before, after));
    figures.paints.push_back(paintsMade);
  }
  return figures;
}

// Both ways of shaping the window, one after the other on the same display.
void shapeTheWindow(DesktopPet& pet, bool keyed) {
  if (keyed) {
    if (!pet.shapeByKey()) std::printf("the system refused the colour key\n");
  } else {
    pet.shapeByRegions();
  }
  pet.composeAndPaint();
  std::printf("%s window\n", pet.drawing.shapes.keyed ? "keyed" : "region");
}

void timeActs(DesktopPet& pet) {
  const StepFigures standing = timeSteps(pet, 1000, slot::STAND, motion::STANDS);
  const StepFigures walking = timeSteps(pet, 1000, slot::WALK, motion::WALKS);
  const StepFigures no = timeSteps(pet, 1000, slot::NO, motion::STANDS);
  report("standing", standing.microseconds);
  report("walking", walking.microseconds);
  report("act NO", no.microseconds);
  reportPaints("standing", standing.paints);
  reportPaints("walking", walking.paints);
  reportPaints("act NO", no.paints);
}

// TICKS ticks of each act on the pet's own timer, through the program's loop.
void markActs(DesktopPet& pet, int ticks) {
  markedWindow = pet.drawing.shapes.keyed ? "keyed" : "region";
  for (const MarkedAct& act : markedActs) {
    markedAct = &act;
    pet.animation = act.act;
    pet.currentFrame = &pet.drawing.animations[act.act];
    markedTicksLeft = ticks + 2;  // with the warm and the end ticks
    markedTick = 0;
    tickPaints.clear();
    markedPet = &pet;
    pet.rearmTimer(pet.timerPeriod);
    MSG message;
    while (markedTicksLeft > 0 && GetMessageW(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    KillTimer(pet.window, pet.timerId);
    markedPet = nullptr;
    std::printf("%s %s ticks %zu: paints a tick median %.0f\n", markedWindow, act.name,
                tickPaints.size(), median(tickPaints));
    std::fflush(stdout);
  }
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
  const bool marking = argc > 1 && !std::strcmp(argv[1], "requests");
  const int markedTicks = marking && argc > 2 ? std::atoi(argv[2]) : 100;
  const int lifeSeconds = !marking && argc > 1 ? std::atoi(argv[1]) : 60;
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
  petSystem.paintWindow = countingPaint;
  KillTimer(window, pet.timerId);  // the timed steps are driven from here

  std::printf("display: %d bits per pixel\n", pet.drawing.bytesPerPixel * 8);
  if (marking) {
    for (const bool keyed : {false, true}) {
      shapeTheWindow(pet, keyed);
      markActs(pet, markedTicks);
    }
    return 0;
  }
  report("watching", timeWatches(pet, 1000));
  for (const bool keyed : {false, true}) {
    shapeTheWindow(pet, keyed);
    timeActs(pet);
    livingPet = &pet;
    live(pet, lifeSeconds);
    livingPet = nullptr;
  }
  // The same pet made anew for a display at 200 %.
  petSystem.readDpi = [](const PixelRect&) { return 2 * STANDARD_DPI; };
  pet.followScale();
  std::printf("%s window at %d screen pixels a pet pixel\n",
              pet.drawing.shapes.keyed ? "keyed" : "region", pet.drawing.factor);
  timeActs(pet);
  livingPet = &pet;
  live(pet, lifeSeconds);
  livingPet = nullptr;
  return 0;
}
