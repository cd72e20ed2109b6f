// morvet-shotcheck: checks a screenshot of the running pet against a screenshot
// of the same desktop without it.
//
//   morvet-shotcheck --frames DIR --clean CLEAN.ppm --shot SHOT.ppm --depth 32|16|8
//                    --window X,Y,W,H [--window-shot WIN.ppm] [--tolerance N]
//   morvet-shotcheck --clean CLEAN.ppm --shot SHOT.ppm --depth D --no-window
//   morvet-shotcheck --self-test --frames DIR
//
// Screenshots are binary PPM (P6, maxval 255 or 65535), as `import -window root x.ppm`
// writes them. Exit status: 0 the shot is right, 1 it is wrong (the reasons go to
// stdout), 2 the check could not be made (bad arguments, unreadable files, a
// desktop that itself shows the key colour).
//
// What a right shot is:
//  - outside the window rectangle the screen equals the clean desktop;
//  - the window's margin equals the clean desktop;
//  - inside the sprite area there is one of the frames, as stored or mirrored:
//    where the frame holds the key, the clean desktop; elsewhere the frame's colour;
//  - the key colour shows nowhere.
// At 16 bits per pixel Wine's copies of the screen go through 5 bits of green,
// so what the pet shows of the desktop may be one green step off: there the
// margin and the desktop under the figure are compared within the tolerance.
// At 8 bits per pixel the pet's window has a colormap of its own (Wine's, with
// the pet's palette realised in it), which an X server without a window manager
// never installs, and Wine maps the desktop it copies into that palette. So the
// root screenshot tells nothing of the window's colours; WIN.ppm, the window
// grabbed through its own colormap, is judged instead: its margin must show each
// desktop colour one way only, the desktop under the figure the same way, the
// figure the frame's colours within the tolerance. Outside the window the root
// shot must still equal the desktop exactly.

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <set>
#include <string>
#include <vector>

namespace {

struct Rgb {
  int r = 0, g = 0, b = 0;
  bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
  bool operator!=(const Rgb& o) const { return !(*this == o); }
};

const Rgb KEY{4, 76, 44};
constexpr int KEY_INDEX = 88;
constexpr int MARGIN = 7;

const char* const FRAME_NAMES[] = {
    "STAND1", "WALK1", "WALK2", "WALK3", "WALK4", "WALK5", "ACT1", "ACT2",
    "FAILED1", "FAILED2", "FAILED3", "FAILED4", "FAILED5", "HAPPY1", "HAPPY2",
    "HI1", "HI2", "HI3", "HI4", "HI5", "NO1", "NO2", "NO3", "NO4", "NO5", "NO6",
    "RIGHT1", "RIGHT2", "RIGHT3"};

struct Image {
  int width = 0, height = 0;
  std::vector<uint8_t> bytes;  // RGB, top row first
  Rgb at(int x, int y) const {
    const size_t i = (static_cast<size_t>(y) * width + x) * 3;
    return {bytes[i], bytes[i + 1], bytes[i + 2]};
  }
  void set(int x, int y, Rgb c) {
    const size_t i = (static_cast<size_t>(y) * width + x) * 3;
    bytes[i] = uint8_t(c.r);
    bytes[i + 1] = uint8_t(c.g);
    bytes[i + 2] = uint8_t(c.b);
  }
  bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

struct Frame {
  std::string name;
  int width = 0, height = 0;
  std::vector<Rgb> colour;  // top row first
  std::vector<bool> key;
};

struct Rect {
  int x = 0, y = 0, w = 0, h = 0;
  bool contains(int px, int py) const { return px >= x && py >= y && px < x + w && py < y + h; }
};

bool fail(std::string& error, const std::string& text) {
  error = text;
  return false;
}

std::string readFile(const std::string& path, bool& ok) {
  std::ifstream in(path, std::ios::binary);
  ok = static_cast<bool>(in);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool readPpm(const std::string& path, Image& image, std::string& error) {
  bool ok = false;
  const std::string data = readFile(path, ok);
  if (!ok) return fail(error, "cannot read " + path);
  size_t pos = 0;
  auto token = [&]() {
    for (;;) {
      while (pos < data.size() && std::isspace(static_cast<unsigned char>(data[pos]))) ++pos;
      if (pos < data.size() && data[pos] == '#') {
        while (pos < data.size() && data[pos] != '\n') ++pos;
        continue;
      }
      break;
    }
    const size_t start = pos;
    while (pos < data.size() && !std::isspace(static_cast<unsigned char>(data[pos]))) ++pos;
    return data.substr(start, pos - start);
  };
  if (token() != "P6") return fail(error, path + " is not a binary PPM (P6)");
  const int w = std::atoi(token().c_str());
  const int h = std::atoi(token().c_str());
  const int maxval = std::atoi(token().c_str());
  if (w <= 0 || h <= 0 || (maxval != 255 && maxval != 65535))
    return fail(error, path + ": unsupported PPM header");
  ++pos;  // the single white space after maxval
  const size_t samples = static_cast<size_t>(w) * h * 3;
  const size_t sampleBytes = maxval == 255 ? 1 : 2;
  if (data.size() < pos + samples * sampleBytes) return fail(error, path + " is truncated");
  image.width = w;
  image.height = h;
  image.bytes.resize(samples);
  for (size_t i = 0; i < samples; ++i) {
    // 16-bit samples are 257 times the 8-bit value: the high byte is it.
    image.bytes[i] = uint8_t(data[pos + i * sampleBytes]);
  }
  return true;
}

uint32_t le32(const std::string& d, size_t at) {
  return uint32_t(uint8_t(d[at])) | uint32_t(uint8_t(d[at + 1])) << 8 |
         uint32_t(uint8_t(d[at + 2])) << 16 | uint32_t(uint8_t(d[at + 3])) << 24;
}
uint16_t le16(const std::string& d, size_t at) {
  return uint16_t(uint8_t(d[at]) | uint8_t(d[at + 1]) << 8);
}

bool readFrame(const std::string& dir, const std::string& name, Frame& frame, std::string& error) {
  const std::string path = dir + "/" + name + ".bmp";
  bool ok = false;
  const std::string d = readFile(path, ok);
  if (!ok) return fail(error, "cannot read " + path);
  if (d.size() < 54 || d[0] != 'B' || d[1] != 'M') return fail(error, path + " is not a BMP");
  const uint32_t pixelOffset = le32(d, 10);
  const uint32_t headerSize = le32(d, 14);
  const int32_t width = static_cast<int32_t>(le32(d, 18));
  const int32_t rawHeight = static_cast<int32_t>(le32(d, 22));
  const uint16_t bits = le16(d, 28);
  const uint32_t compression = le32(d, 30);
  if (bits != 8 || compression != 0 || width <= 0 || rawHeight == 0)
    return fail(error, path + ": not an uncompressed 8-bit BMP");
  const bool bottomUp = rawHeight > 0;
  const int height = bottomUp ? rawHeight : -rawHeight;
  const size_t paletteAt = 14 + headerSize;
  const size_t rowBytes = (static_cast<size_t>(width) + 3) / 4 * 4;
  if (pixelOffset < paletteAt || d.size() < pixelOffset + rowBytes * height)
    return fail(error, path + " is truncated");
  const size_t paletteEntries = (pixelOffset - paletteAt) / 4;
  frame.name = name;
  frame.width = width;
  frame.height = height;
  frame.colour.assign(static_cast<size_t>(width) * height, Rgb{});
  frame.key.assign(static_cast<size_t>(width) * height, false);
  for (int row = 0; row < height; ++row) {
    const int fileRow = bottomUp ? height - 1 - row : row;
    for (int x = 0; x < width; ++x) {
      const int index = uint8_t(d[pixelOffset + fileRow * rowBytes + x]);
      if (static_cast<size_t>(index) >= paletteEntries)
        return fail(error, path + ": pixel outside the colour table");
      const size_t q = paletteAt + 4 * static_cast<size_t>(index);
      const Rgb c{uint8_t(d[q + 2]), uint8_t(d[q + 1]), uint8_t(d[q])};
      const size_t i = static_cast<size_t>(row) * width + x;
      frame.colour[i] = c;
      frame.key[i] = index == KEY_INDEX || c == KEY;
    }
  }
  return true;
}

bool readFrames(const std::string& dir, std::vector<Frame>& frames, std::string& error) {
  frames.clear();
  for (const char* name : FRAME_NAMES) {
    Frame f;
    if (!readFrame(dir, name, f, error)) return false;
    if (!frames.empty() && (f.width != frames[0].width || f.height != frames[0].height))
      return fail(error, std::string(name) + " differs in size from the other frames");
    frames.push_back(std::move(f));
  }
  return true;
}

// How a display of the given depth shows a colour, as ImageMagick reads it back.
Rgb shownAt(int depth, Rgb c) {
  if (depth != 16) return c;
  auto expand = [](int v, int bits) { return (v << (8 - bits)) | (v >> (2 * bits - 8)); };
  return {expand(c.r >> 3, 5), expand(c.g >> 2, 6), expand(c.b >> 3, 5)};
}

bool near(Rgb a, Rgb b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
         std::abs(a.b - b.b) <= tolerance;
}

std::string describe(Rgb c) {
  char text[32];
  std::snprintf(text, sizeof text, "(%d,%d,%d)", c.r, c.g, c.b);
  return text;
}

struct Findings {
  std::vector<std::string> problems;
  std::string matched;  // the frame found in the sprite area
  void add(const std::string& p) { problems.push_back(p); }
};

// Collects pixels that differ from the clean desktop over a region selected by `take`.
template <typename Take>
void compareWithDesktop(const Image& clean, const Image& shot, const char* what, Take take,
                        int tolerance, Findings& findings) {
  long count = 0;
  int minX = 1 << 30, minY = 1 << 30, maxX = -1, maxY = -1;
  std::string first;
  for (int y = 0; y < clean.height; ++y) {
    for (int x = 0; x < clean.width; ++x) {
      if (!take(x, y)) continue;
      if (near(clean.at(x, y), shot.at(x, y), tolerance)) continue;
      if (count == 0)
        first = "first at (" + std::to_string(x) + "," + std::to_string(y) + "): desktop " +
                describe(clean.at(x, y)) + ", shown " + describe(shot.at(x, y));
      ++count;
      minX = std::min(minX, x);
      minY = std::min(minY, y);
      maxX = std::max(maxX, x);
      maxY = std::max(maxY, y);
    }
  }
  if (count == 0) return;
  findings.add(std::string(what) + ": " + std::to_string(count) +
               " pixels differ from the desktop, within x " + std::to_string(minX) + ".." +
               std::to_string(maxX) + ", y " + std::to_string(minY) + ".." + std::to_string(maxY) +
               "; " + first);
}

struct Options {
  std::string framesDir, cleanPath, shotPath, windowShotPath;
  int depth = 32;
  int tolerance = -1;
  bool noWindow = false;
  bool haveWindow = false;
  Rect window;
};

int defaultTolerance(int depth) {
  if (depth == 16) return 8;  // 5 bits a channel: one step is 8.2 apart
  // Wine maps the art to the nearest colours it holds: the dark outline
  // (36,44,68) becomes black, a light blue (98,182,242) grey (160,160,164).
  // Only a bound; the figure's pattern is what is checked exactly.
  if (depth == 8) return 96;
  return 0;
}

// The key-colour test over a whole picture: the pixels that show as the key does.
long keyPixels(const Image& image, int depth, int& firstX, int& firstY) {
  const Rgb key = shownAt(depth, KEY);
  long count = 0;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x)
      if (shownAt(depth, image.at(x, y)) == key) {
        if (count++ == 0) {
          firstX = x;
          firstY = y;
        }
      }
  return count;
}

uint32_t pack(Rgb c) { return uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | uint32_t(c.b); }

// At 8 bits: how each colour of the clean desktop shows in the window's own colormap.
struct DesktopMap {
  bool enabled = false;
  std::map<uint32_t, Rgb> look;
};

struct Candidate {
  const Frame* frame = nullptr;
  bool mirrored = false;
  long mismatches = 0;
  long desktopLookMismatches = 0;
  std::vector<std::string> samples;
};

// At 8 bits the X colour map may hold one desktop colour under two pixel values,
// so a handful of desktop pixels can show either look; a wrong picture (a black
// box, a trail, another frame) differs in thousands of pixels.
constexpr long PALETTE_LOOK_ALLOWANCE = 60;

Candidate tryFrame(const Frame& f, bool mirrored, const Image& clean, const Image& shot,
                   const Image* windowShot, const DesktopMap& desktop, const Rect& window,
                   int depth, int tolerance, long giveUpAfter) {
  Candidate c;
  c.frame = &f;
  c.mirrored = mirrored;
  const int sx = window.x + MARGIN, sy = window.y + MARGIN;
  std::map<uint32_t, Rgb> figureLook;
  std::map<uint32_t, Rgb> spriteLook;
  for (int row = 0; row < f.height && c.mismatches <= giveUpAfter; ++row) {
    for (int col = 0; col < f.width; ++col) {
      const int x = sx + col, y = sy + row;
      if (!clean.inside(x, y)) continue;
      const int source = mirrored ? f.width - 1 - col : col;
      const size_t i = static_cast<size_t>(row) * f.width + source;
      const Rgb shown = shot.at(x, y);
      std::string why;
      if (f.key[i] && desktop.enabled) {
        const auto look = desktop.look.find(pack(clean.at(x, y)));
        const Rgb got = windowShot->at(MARGIN + col, MARGIN + row);
        // The sprite area keeps the background it saved when the pet arrived, and
        // Wine may map a colour to another entry after that: behind the sprite a
        // desktop colour may show the margin's look or one other, used throughout.
        const auto behind = spriteLook.emplace(pack(clean.at(x, y)), got).first;
        if (got == KEY) {
          why = "desktop expected, the key colour shown";
        } else if (look != desktop.look.end() && got != look->second && got != behind->second &&
                   ++c.desktopLookMismatches > PALETTE_LOOK_ALLOWANCE) {
          why = "desktop " + describe(look->second) + " expected, shown " + describe(got);
        }
      } else if (f.key[i]) {
        if (!near(shown, clean.at(x, y), depth == 16 ? tolerance : 0))
          why = "desktop " + describe(clean.at(x, y)) + " expected, shown " + describe(shown);
      } else {
        const Rgb want = shownAt(depth, f.colour[i]);
        const Rgb got = windowShot ? windowShot->at(MARGIN + col, MARGIN + row) : shown;
        if (!near(got, want, tolerance)) {
          why = "figure " + describe(want) + " expected, shown " + describe(got);
        } else if (desktop.enabled) {
          // Through a palette each art colour has one look, and never the key's.
          const auto seen = figureLook.emplace(pack(want), got).first;
          if (got == KEY) why = "figure expected, the key colour shown";
          else if (seen->second != got)
            why = "figure " + describe(want) + " shown as " + describe(got) + " here, as " +
                  describe(seen->second) + " elsewhere";
        }
      }
      if (why.empty()) continue;
      if (c.samples.size() < 8)
        c.samples.push_back("(" + std::to_string(x) + "," + std::to_string(y) + ") " + why);
      ++c.mismatches;
    }
  }
  return c;
}

Findings check(const Options& o, const std::vector<Frame>& frames, const Image& clean,
               const Image& shot, const Image* windowShot, int& status) {
  Findings findings;
  status = 0;
  const int tolerance = o.tolerance >= 0 ? o.tolerance : defaultTolerance(o.depth);
  if (clean.width != shot.width || clean.height != shot.height) {
    findings.add("the screenshots differ in size");
    status = 2;
    return findings;
  }
  if (o.depth != 8) {
    int kx = 0, ky = 0;
    if (keyPixels(clean, o.depth, kx, ky) > 0) {
      findings.add("the clean desktop itself shows the key colour at (" + std::to_string(kx) +
                   "," + std::to_string(ky) + "): choose another wallpaper");
      status = 2;
      return findings;
    }
    const long keys = keyPixels(shot, o.depth, kx, ky);
    if (keys > 0)
      findings.add("key colour shown at " + std::to_string(keys) + " pixels, first at (" +
                   std::to_string(kx) + "," + std::to_string(ky) + ")");
  }

  if (o.noWindow) {
    compareWithDesktop(clean, shot, "screen", [](int, int) { return true; }, 0, findings);
    status = findings.problems.empty() ? 0 : 1;
    return findings;
  }

  const Rect& w = o.window;
  const Frame& first = frames.front();
  if (w.w != first.width + 2 * MARGIN || w.h != first.height + 2 * MARGIN)
    findings.add("window is " + std::to_string(w.w) + "x" + std::to_string(w.h) + ", not " +
                 std::to_string(first.width + 2 * MARGIN) + "x" +
                 std::to_string(first.height + 2 * MARGIN));
  const Rect sprite{w.x + MARGIN, w.y + MARGIN, first.width, first.height};

  // Nothing outside the window passes through the pet: it must be untouched.
  compareWithDesktop(clean, shot, "outside the window",
                     [&](int x, int y) { return !w.contains(x, y); }, 0, findings);

  // A window reaching past the screen's edge is grabbed as its visible part
  // only; the part off the screen is never judged.
  Image paddedShot;
  if (windowShot && (windowShot->width != w.w || windowShot->height != w.h)) {
    const int left = std::max(0, -w.x), top = std::max(0, -w.y);
    const int visibleW = std::min(w.x + w.w, clean.width) - std::max(w.x, 0);
    const int visibleH = std::min(w.y + w.h, clean.height) - std::max(w.y, 0);
    if (windowShot->width == visibleW && windowShot->height == visibleH) {
      paddedShot.width = w.w;
      paddedShot.height = w.h;
      paddedShot.bytes.assign(static_cast<size_t>(w.w) * w.h * 3, 0);
      for (int y = 0; y < visibleH; ++y)
        for (int x = 0; x < visibleW; ++x) paddedShot.set(left + x, top + y, windowShot->at(x, y));
      windowShot = &paddedShot;
    }
  }
  if (windowShot && (windowShot->width != w.w || windowShot->height != w.h)) {
    findings.add("the window's own screenshot is " + std::to_string(windowShot->width) + "x" +
                 std::to_string(windowShot->height));
    status = 2;
    return findings;
  }

  DesktopMap desktop;
  if (o.depth == 8) {
    // The window shows the desktop through its own colormap: learn from the
    // margin how each desktop colour looks there; it must be one look per colour.
    desktop.enabled = true;
    long conflicts = 0;
    std::string first;
    for (int y = 0; y < w.h; ++y)
      for (int x = 0; x < w.w; ++x) {
        if (sprite.contains(w.x + x, w.y + y) || !clean.inside(w.x + x, w.y + y)) continue;
        const uint32_t from = pack(clean.at(w.x + x, w.y + y));
        const Rgb to = windowShot->at(x, y);
        auto found = desktop.look.find(from);
        if (found == desktop.look.end()) {
          desktop.look.emplace(from, to);
        } else if (found->second != to) {
          if (conflicts++ == 0)
            first = "at (" + std::to_string(w.x + x) + "," + std::to_string(w.y + y) + ") " +
                    describe(clean.at(w.x + x, w.y + y)) + " shows as " + describe(to) +
                    ", elsewhere as " + describe(found->second);
        }
      }
    if (conflicts > PALETTE_LOOK_ALLOWANCE)
      findings.add("window margin: the desktop does not show through it consistently, " +
                   std::to_string(conflicts) + " pixels; first " + first);
  } else {
    // At 16 bits the pet's copies of the screen may lose the low bit of green.
    compareWithDesktop(clean, shot, "window margin",
                       [&](int x, int y) { return w.contains(x, y) && !sprite.contains(x, y); },
                       o.depth == 16 ? tolerance : 0, findings);
  }

  Candidate best;
  best.mismatches = -1;
  for (const Frame& f : frames) {
    for (bool mirrored : {false, true}) {
      const long limit = best.mismatches < 0 ? 1L << 40 : best.mismatches;
      Candidate c =
          tryFrame(f, mirrored, clean, shot, windowShot, desktop, w, o.depth, tolerance, limit);
      if (best.mismatches < 0 || c.mismatches < best.mismatches) best = c;
      if (best.mismatches == 0) break;
    }
    if (best.mismatches == 0) break;
  }
  const std::string candidate =
      best.frame->name + (best.mirrored ? " mirrored" : " as stored");
  if (best.mismatches == 0) {
    findings.matched = candidate;
  } else {
    std::string text = "sprite area matches no frame; nearest is " + candidate + " with " +
                       std::to_string(best.mismatches) + " wrong pixels:";
    for (const std::string& s : best.samples) text += "\n    " + s;
    findings.add(text);
  }
  status = findings.problems.empty() ? 0 : 1;
  return findings;
}

bool parseRect(const std::string& text, Rect& r) {
  return std::sscanf(text.c_str(), "%d,%d,%d,%d", &r.x, &r.y, &r.w, &r.h) == 4;
}

int usage() {
  std::fprintf(stderr,
               "usage: morvet-shotcheck --frames DIR --clean C.ppm --shot S.ppm --depth 32|16|8\n"
               "                        --window X,Y,W,H [--window-shot W.ppm] [--tolerance N]\n"
               "       morvet-shotcheck --clean C.ppm --shot S.ppm --depth D --no-window\n"
               "       morvet-shotcheck --self-test --frames DIR\n");
  return 2;
}

// ---- self-test: synthetic desktops and pets -------------------------------------------

Image syntheticDesktop(int w, int h) {
  Image img;
  img.width = w;
  img.height = h;
  img.bytes.resize(static_cast<size_t>(w) * h * 3);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool cell = ((x / 13) + (y / 11)) % 2 != 0;
      img.set(x, y, Rgb{cell ? 200 : 90 + x % 100, 120 + y % 120, cell ? 230 - x % 50 : 180});
    }
  return img;
}

Image composePet(const Image& desktop, const Frame& f, bool mirrored, Rect w, int depth) {
  Image shot = desktop;
  for (int row = 0; row < f.height; ++row)
    for (int col = 0; col < f.width; ++col) {
      const int x = w.x + MARGIN + col, y = w.y + MARGIN + row;
      const size_t i = static_cast<size_t>(row) * f.width + (mirrored ? f.width - 1 - col : col);
      if (shot.inside(x, y) && !f.key[i]) shot.set(x, y, shownAt(depth, f.colour[i]));
    }
  return shot;
}

Image quantised(const Image& img, int depth) {
  Image out = img;
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) out.set(x, y, shownAt(depth, img.at(x, y)));
  return out;
}

Image windowPart(const Image& img, Rect w) {
  Image out;
  out.width = w.w;
  out.height = w.h;
  out.bytes.resize(static_cast<size_t>(w.w) * w.h * 3);
  for (int y = 0; y < w.h; ++y)
    for (int x = 0; x < w.w; ++x) out.set(x, y, img.at(w.x + x, w.y + y));
  return out;
}

int selfTest(const std::string& dir) {
  std::vector<Frame> frames;
  std::string error;
  if (!readFrames(dir, frames, error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 2;
  }
  int failures = 0;
  auto expect = [&](const char* what, bool wantPass, const Options& o, const Image& clean,
                    const Image& shot, const Image* win) {
    int status = 0;
    const Findings f = check(o, frames, clean, shot, win, status);
    const bool passed = status == 0;
    if (passed != wantPass) {
      ++failures;
      std::printf("FAIL %s: expected %s, got status %d\n", what, wantPass ? "pass" : "failure",
                  status);
      for (const std::string& p : f.problems) std::printf("  %s\n", p.c_str());
    } else {
      std::printf("ok   %s%s%s\n", what, f.matched.empty() ? "" : " -> ", f.matched.c_str());
    }
  };

  const Frame& walk = frames[3];
  const Rect w{300, 200, walk.width + 2 * MARGIN, walk.height + 2 * MARGIN};
  const Image desktop = syntheticDesktop(640, 480);
  Options o;
  o.window = w;
  o.haveWindow = true;

  for (int depth : {32, 16}) {
    o.depth = depth;
    const Image clean = quantised(desktop, depth);
    const std::string d = " at " + std::to_string(depth);
    for (bool mirrored : {false, true}) {
      const Image shot = composePet(clean, walk, mirrored, w, depth);
      expect(("right pet" + d + (mirrored ? " mirrored" : "")).c_str(), true, o, clean, shot,
             nullptr);
    }
    const Image good = composePet(clean, walk, true, w, depth);
    Image bad = good;
    // A key pixel: the first key pixel of the top row.
    bad.set(w.x + MARGIN, w.y + MARGIN, shownAt(depth, KEY));
    expect(("key colour left in the sprite" + d).c_str(), false, o, clean, bad, nullptr);
    bad = good;
    bad.set(10, 10, Rgb{bad.at(10, 10).r ^ 0x80, 0, 0});
    expect(("trail outside the window" + d).c_str(), false, o, clean, bad, nullptr);
    bad = good;
    bad.set(w.x + 3, w.y + 50, Rgb{0, 0, 0});
    expect(("changed margin" + d).c_str(), false, o, clean, bad, nullptr);
    Rect shifted = w;
    shifted.x += 1;
    bad = composePet(clean, walk, true, shifted, depth);
    expect(("sprite off by one pixel" + d).c_str(), false, o, clean, bad, nullptr);
    bad = clean;
    expect(("no sprite at all" + d).c_str(), false, o, clean, bad, nullptr);
    Options small = o;
    small.window.w -= 2;
    expect(("wrong window size" + d).c_str(), false, small, clean, good, nullptr);
    Options whole = o;
    whole.noWindow = true;
    expect(("no window, clean desktop" + d).c_str(), true, whole, clean, clean, nullptr);
    expect(("no window, pet still shown" + d).c_str(), false, whole, clean, good, nullptr);
  }

  o.depth = 16;
  {
    const Image clean = quantised(desktop, 16);
    Image shot = composePet(clean, walk, false, w, 16);
    // A figure colour one 16-bit step off still passes; far off does not.
    for (int row = 0; row < walk.height; ++row)
      for (int col = 0; col < walk.width; ++col)
        if (!walk.key[static_cast<size_t>(row) * walk.width + col]) {
          Rgb c = shot.at(w.x + MARGIN + col, w.y + MARGIN + row);
          Image off = shot;
          c.r = c.r >= 128 ? c.r - 40 : c.r + 40;
          off.set(w.x + MARGIN + col, w.y + MARGIN + row, c);
          expect("figure colour far off at 16", false, o, clean, off, nullptr);
          row = walk.height;
          break;
        }
  }

  o.depth = 8;
  {
    // The root shot shows figure pixels in foreign colours; the window's own shot is right.
    const Image clean = desktop;
    Image root = clean;
    const Image truth = composePet(clean, walk, true, w, 32);
    for (int row = 0; row < walk.height; ++row)
      for (int col = 0; col < walk.width; ++col)
        if (!walk.key[static_cast<size_t>(row) * walk.width + walk.width - 1 - col])
          root.set(w.x + MARGIN + col, w.y + MARGIN + row, Rgb{17, 17, 17});
    const Image win = windowPart(truth, w);
    expect("right pet at 8 with the window's colours", true, o, clean, root, &win);
    const Image noFigure = windowPart(clean, w);
    expect("window shows no figure at 8", false, o, clean, root, &noFigure);
    Image leak = win;
    leak.set(MARGIN, MARGIN, KEY);
    expect("the key colour in the window at 8", false, o, clean, root, &leak);
    // Every margin pixel over a desktop colour already met is shown otherwise,
    // as a black box or a stale picture would show it.
    Image torn = win;
    std::set<uint32_t> met;
    long tornPixels = 0;
    for (int y = 0; y < w.h; ++y)
      for (int x = 0; x < w.w; ++x) {
        if (x >= MARGIN && x < w.w - MARGIN && y >= MARGIN && y < w.h - MARGIN) continue;
        if (!met.insert(pack(clean.at(w.x + x, w.y + y))).second) {
          torn.set(x, y, Rgb{255 - torn.at(x, y).r, 0, 0});
          ++tornPixels;
        }
      }
    if (tornPixels <= PALETTE_LOOK_ALLOWANCE)
      std::printf("FAIL too few repeated desktop colours in the synthetic margin\n");
    expect("a margin that does not follow the desktop at 8", false, o, clean, root, &torn);
    Image trail = root;
    trail.set(5, 5, Rgb{0, 0, 0});
    expect("trail outside the window at 8", false, o, clean, trail, &win);
  }
  std::printf("%s\n", failures ? "SELF-TEST FAILED" : "self-test passed");
  return failures ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  bool selfTesting = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
    if (a == "--frames") o.framesDir = value();
    else if (a == "--clean") o.cleanPath = value();
    else if (a == "--shot") o.shotPath = value();
    else if (a == "--window-shot") o.windowShotPath = value();
    else if (a == "--depth") o.depth = std::atoi(value().c_str());
    else if (a == "--tolerance") o.tolerance = std::atoi(value().c_str());
    else if (a == "--no-window") o.noWindow = true;
    else if (a == "--window") o.haveWindow = parseRect(value(), o.window);
    else if (a == "--self-test") selfTesting = true;
    else return usage();
  }
  if (selfTesting) return o.framesDir.empty() ? usage() : selfTest(o.framesDir);
  if (o.cleanPath.empty() || o.shotPath.empty()) return usage();
  if (o.depth != 8 && o.depth != 16 && o.depth != 24 && o.depth != 32) return usage();
  if (!o.noWindow && (!o.haveWindow || o.framesDir.empty())) return usage();
  if (!o.noWindow && o.depth == 8 && o.windowShotPath.empty()) {
    std::fprintf(stderr, "at 8 bits the window's own screenshot (--window-shot) is needed\n");
    return 2;
  }

  std::string error;
  std::vector<Frame> frames;
  Image clean, shot, windowShot;
  if ((!o.noWindow && !readFrames(o.framesDir, frames, error)) ||
      !readPpm(o.cleanPath, clean, error) || !readPpm(o.shotPath, shot, error) ||
      (!o.windowShotPath.empty() && !o.noWindow && !readPpm(o.windowShotPath, windowShot, error))) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 2;
  }
  int status = 0;
  const Findings f = check(o, frames, clean, shot,
                           o.windowShotPath.empty() || o.noWindow ? nullptr : &windowShot, status);
  for (const std::string& p : f.problems) std::printf("%s\n", p.c_str());
  if (status == 0) std::printf("ok%s%s\n", f.matched.empty() ? "" : ": ", f.matched.c_str());
  return status;
}
