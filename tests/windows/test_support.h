#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "pet/desktop_pet.h"

// Registers a window class of this module with no background of its own.
void registerWindowClass(const wchar_t* name, WNDPROC procedure);

// A hidden top-level window that counts the WM_DESTROY messages it is sent.
class TestWindow {
 public:
  TestWindow();
  ~TestWindow();
  HWND handle() const { return window_; }
  int destroyMessages() const;

 private:
  HWND window_ = nullptr;
};

// Whatever a test puts into petSystem goes when this does: every member is put
// back as it was when this was made.
class SystemStandIns {
 public:
  SystemStandIns() : before_(petSystem) {}
  ~SystemStandIns() { petSystem = before_; }
  SystemStandIns(const SystemStandIns&) = delete;
  SystemStandIns& operator=(const SystemStandIns&) = delete;
  const PetSystem& before() const { return before_; }

 private:
  PetSystem before_;
};

// Records every SetTimer call the pet makes; it can also refuse them.
struct TimerCall {
  HWND window;
  UINT_PTR id;
  UINT period;
};
class TimerRecorder {
 public:
  TimerRecorder();
  const std::vector<TimerCall>& calls() const;
  void refuse(bool refuse);

 private:
  SystemStandIns standIns_;
};

// The dialog or message box that a CBT hook's call with `code` and `wParam`
// activates; null for any other call.
HWND dialogActivated(int code, WPARAM wParam);

// Closes every message box of this thread as soon as it shows, remembering it.
struct ShownMessage {
  std::wstring text;
  std::wstring caption;
  HWND owner;
};
class MessageBoxWatcher {
 public:
  MessageBoxWatcher();
  ~MessageBoxWatcher();
  const std::vector<ShownMessage>& shown() const;
};

// Hangs a list of `count` frames without bitmaps on `slot` of the pet.
void hangFakeFrames(DesktopPet& pet, int32_t slot, int count);
// The 1-based position of the pet's current frame in the list of its animation, 0 on a head.
int framePosition(const DesktopPet& pet);
// A seed whose first draw reduced modulo `modulus` gives `wanted`.
uint32_t seedGivingFirstDraw(int32_t wanted, int32_t modulus);
// Gives the pet a window and a screen size without drawing anything.
void attachForSteps(DesktopPet& pet, HWND window, int32_t screenWidth, int32_t screenHeight);

// Monitors stated by a test in place of the system's, while it lives: the pet
// finds the one that holds most of a rectangle, or the first when none holds any.
class StatedMonitors {
 public:
  explicit StatedMonitors(std::vector<PetArea> areas);

 private:
  SystemStandIns standIns_;
};
