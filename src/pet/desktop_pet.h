#pragma once
#include <windows.h>
#include <shellapi.h>

#include <cstdint>

#include "assets/animation_table.h"
#include "pet/pet_system.h"
#include "render/merge_bits.h"
#include "render/pet_scale.h"
#include "render/screen_area.h"
#include "render/window_picture.h"
#include "render/window_shapes.h"

// One frame of an animation. A slot's list head has the same shape, so the pet
// can rest on a head: its `next` is the first frame, its `previous` the last.
struct FrameNode {
  HBITMAP bitmap;
  FrameNode* next;
  FrameNode* previous;
};
using AnimationList = FrameNode;

// Everything the pet draws with, made for one scale and one depth of the
// display: a change of either makes a whole new set, and gives up the old one
// only once the new one is complete. The record holds its set whole, so that
// a rebuild puts the old one aside and takes it back in one exchange.
struct DrawingSet {
  AnimationList animations[slot::COUNT] = {};
  int32_t maxFramePixels = 0;
  int32_t bytesPerPixel = 0;  // of the frames and surfaces, known once settled
  int32_t displayBitsPerPixel = 0;
  // Screen pixels to each of the pet's own, each way: on a scaled display each
  // of its pixels is a factor x factor block, so that the pup keeps its size.
  int32_t factor = 1;
  uint8_t* spriteBits = nullptr;
  uint8_t* backgroundBits = nullptr;
  uint8_t* mirrorBits = nullptr;
  HDC spriteDC = nullptr;
  HDC frameDC = nullptr;
  HBITMAP spriteBitmap = nullptr;
  HBITMAP frameBitmap = nullptr;
  WindowShapes shapes;
};

// What drives a step.
constexpr int32_t Tick = 1;      // the pet's own behaviour
constexpr int32_t KeyStep = 3;   // an arrow key held
constexpr int32_t Drag = 11;     // the left button held on the pet

// How often the step timer ticks, in milliseconds.
constexpr int32_t STEP_PERIOD_MS = 70;   // the pet's own steps
constexpr int32_t DRAG_PERIOD_MS = 70;   // while the left button holds it
// Held still, the pet only looks for a running screen saver and whether it
// may go on: a slow tick is enough for that and costs next to nothing.
constexpr int32_t HELD_PERIOD_MS = 500;
// An arrow to the left or right steps at two thirds of the pet's own period.
constexpr int32_t sideStepPeriod(int32_t period) { return 2 * period / 3; }

// Arrow directions as the window procedure passes them.
constexpr int32_t DIRECTION_LEFT = 1;
constexpr int32_t DIRECTION_RIGHT = 2;
constexpr int32_t DIRECTION_UP = 3;
constexpr int32_t DIRECTION_DOWN = 4;

// What petSystem.findArea finds, with the work area kept to its monitor:
// every reader of the pet's area asks here, in screen pixels.
bool homeAreaOf(const PixelRect& rect, PetArea* area);

// Why the pet has stopped stepping; any of them holds it.
constexpr int32_t HELD_BY_LOCK = 1;          // the session is locked
constexpr int32_t HELD_BY_DISCONNECT = 2;    // the session's console or remote desktop is gone
constexpr int32_t HELD_BY_FULL_SCREEN = 4;   // a full-screen program is in front
constexpr int32_t HELD_BY_MINIMIZED = 8;     // the window is minimized
constexpr int32_t HELD_BY_DISPLAY_OFF = 16;  // the display is off (idle, or a closed lid)

// A spot of the primary monitor, which always has its top-left corner at the origin.
constexpr PixelRect PRIMARY_ORIGIN{0, 0, 1, 1};

// Whether the system's screen saver is running now.
bool screenSaverRunning();

// Everything the program knows about its character. A plain record with
// operations on its fields; the program holds exactly one.
class DesktopPet {
 public:
  DesktopPet(int32_t margin, int32_t command, int32_t timerPeriod);
  // Seeds the generator with `seed` in place of the tick count.
  DesktopPet(int32_t margin, int32_t command, int32_t timerPeriod, uint32_t seed);
  ~DesktopPet();
  DesktopPet(const DesktopPet&) = delete;
  DesktopPet& operator=(const DesktopPet&) = delete;

  void attach(HINSTANCE instance, HWND window);
  void rearmTimer(int32_t period);
  void setSoundEnabled(int32_t flag);

  void buildPalette(HINSTANCE instance);
  void loadAnimation(const char* name, int32_t frameCount, int32_t slot, int32_t motionKind);
  void loadAnimations();
  void releaseAnimations();

  void chooseBehaviour();
  void pickTarget(int32_t kind);
  void updateVelocity();
  void PetStep(int32_t command);
  void setKeyDirection(int32_t code);

  void settle();
  void followDisplay();
  void followScale();
  void followArea();
  void holdSteps(int32_t reason);
  void releaseSteps(int32_t reason);
  void watchForeground();
  void restorePalette();
  void releaseSurfaces();
  void chooseWindowShape();
  bool shapeByKey();
  void shapeByRegions();
  void prepareShapes();
  void releaseShapes();
  void parkWindow();
  void composeAndPaint();
  void answerPaint(HWND paintedWindow);
  void mergeSprite(HBITMAP target, const FrameNode* frame, int32_t width, int32_t pixelCount,
                   int32_t frameFacing, int32_t pixelBytes);

  FrameNode* currentFrame = nullptr;
  HDC screenDC = nullptr;
  HPALETTE palette = nullptr;
  HPALETTE previousPalette = nullptr;
  HINSTANCE instance = nullptr;
  HWND window = nullptr;
  HWND insertAfter = nullptr;
  int32_t pendingDirection = 0;
  int32_t behaviourTicks = 0;
  int32_t motionKind = 0;
  int32_t spriteWidth = 0;
  int32_t spriteHeight = 0;
  int32_t x = 0;
  int32_t y = 0;
  int32_t targetX = 0;
  int32_t targetY = 0;
  int32_t margin = 0;
  int32_t command = 0;
  int32_t animation = 0;
  int32_t timerPeriod = 0;
  int32_t border = 0;
  int32_t previousCommand = 0;
  int32_t velocityX = 0;
  int32_t velocityY = 0;
  int32_t motionKinds[slot::COUNT] = {};
  PetArea home = {};             // where the pet walks, acts and takes arrow keys
  int32_t heldBy = 0;            // HELD_BY_... bits; no step runs while any is set
  int32_t timerId = 0;
  int32_t soundEnabled = 0;
  int32_t facing = 0;  // how the step driver tells the composition to draw the frame
  DrawingSet drawing;
  WindowPicture picture;
  PetScale scale;

 private:
  void releaseFrames(AnimationList& list);
  void keepTargetOnScreen();
  void drawFrameThroughPalette(HBITMAP bitmap, const char* resourceName);
  void reportMissingFrame(AnimationList& head);
  bool hasSurfaces() const;
  PixelRect spriteRect() const;
  bool findArea(const PixelRect& onScreen, PetArea* area) const;
  void followAcrossSeam();
  void releaseDisplayContexts();
  size_t pixelBufferBytes() const;
  bool windowStandsAt(int32_t left, int32_t top) const;
  bool freeKeyColour(COLORREF* key);
  void drawPicture();
  void placeWindow();
  HRGN shapeOf(const FrameNode* frame, int32_t frameFacing) const;
  int32_t screenPixels(int32_t petPixels) const { return petPixels * drawing.factor; }
  PixelRect windowOnScreen() const;
  PixelRect spriteOnScreen() const;
  void allocateBuffers();
  void makeMemorySurfaces();
  void releaseMemorySurfaces();
  int32_t scaleOfMonitorUnder(const PixelRect& onScreen) const;
  void readScale();
  HBITMAP scaledFrame(HBITMAP frame) const;
  void loadEveryAnimation();
  void applyPendingChange();
  void rescale();
  bool remakeDrawing(int32_t factor, int32_t depth);
  void releaseDrawing();
  bool drawingComplete() const;
  void takeDepthFromFrames();
  void placeRemade();
  bool chooseKey(COLORREF* key);
  bool keyTheWindow(COLORREF key);
  void unkeyTheWindow();
  void applyWindowShape();
  void showShape();
  enum class PaintAfter { DRAWING, MOVE };  // what comes before a paint of the window
  void paintWindow(PaintAfter after);
  bool paintPicture(HDC target);
  void hideWindow();
  void showWindowAgain();
  void showPictureWith(HWND after, UINT flags);
  void flushToScreen();
  void bringOntoNearestMonitor();
  bool fullScreenProgramInFront(HWND front) const;
  bool minimized() const { return (heldBy & HELD_BY_MINIMIZED) != 0; }

  int32_t timerChangeReported = 0;
  int32_t ticksSinceForegroundLook = 0;
  HWND fullScreenWindow = nullptr;  // the program's window that sent the pet aside
  HPOWERNOTIFY displayPowerNotification = nullptr;
};

// Message texts and their shared caption.
extern const wchar_t* const PET_CAPTION;
