#include <windows.h>
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "assets/animation_table.h"

namespace {

constexpr WORD TAIWAN = 1028;

// The built program, opened for its resources only.
class ProgramResources : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string path = "Z:" MORVET_BUILD_DIR "/morvet.exe";
    for (char& c : path) if (c == '/') c = '\\';
    program = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  }
  static void TearDownTestSuite() { FreeLibrary(program); }
  void SetUp() override { ASSERT_NE(program, nullptr) << "morvet.exe is built beside the tests"; }

  static std::vector<BYTE> bytes(LPCWSTR type, LPCWSTR name) {
    HRSRC found = FindResourceExW(program, type, name, TAIWAN);
    if (!found) return {};
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(program, found)));
    return std::vector<BYTE>(data, data + SizeofResource(program, found));
  }
  static HMODULE program;
};
HMODULE ProgramResources::program = nullptr;

template <typename T>
T read(const std::vector<BYTE>& data, size_t offset) {
  T value{};
  std::memcpy(&value, data.data() + offset, sizeof value);
  return value;
}

std::vector<std::string> frameNames() {
  std::vector<std::string> names;
  for (const AnimationEntry& entry : animationTable) {
    for (int n = 1; n <= entry.frameCount; ++n) names.push_back(entry.name + std::to_string(n));
  }
  return names;
}

std::wstring wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

TEST_F(ProgramResources, FramesShareOneTableAndKeepTheKeyAroundTheFigure) {
  const std::vector<std::string> names = frameNames();
  ASSERT_EQ(names.size(), 29u);
  std::vector<BYTE> table;
  for (const std::string& name : names) {
    const std::vector<BYTE> frame = bytes(MAKEINTRESOURCEW(2), wide(name).c_str());
    ASSERT_EQ(frame.size(), 11566u) << name;
    EXPECT_EQ(read<DWORD>(frame, 0), 40u);
    EXPECT_EQ(read<LONG>(frame, 4), 100);
    EXPECT_EQ(read<LONG>(frame, 8), 105);
    EXPECT_EQ(read<WORD>(frame, 12), 1);
    EXPECT_EQ(read<WORD>(frame, 14), 8);
    EXPECT_EQ(read<DWORD>(frame, 16), 0u);
    EXPECT_EQ(read<DWORD>(frame, 20), 0u);
    EXPECT_EQ(read<LONG>(frame, 24), 2834);
    EXPECT_EQ(read<LONG>(frame, 28), 2834);
    EXPECT_EQ(read<DWORD>(frame, 32), 0u);
    EXPECT_EQ(read<DWORD>(frame, 36), 0u);
    const std::vector<BYTE> ownTable(frame.begin() + 40, frame.begin() + 1064);
    if (table.empty()) table = ownTable;
    EXPECT_EQ(ownTable, table) << name << " has a colour table of its own";
    const BYTE* pixels = frame.data() + 1064;
    EXPECT_EQ(pixels[104 * 100], 88) << name << ": the top-left pixel is the key";
    for (int row = 0; row < 105; ++row) {
      for (int column = 0; column < 100; ++column) {
        const bool edge = row == 0 || row == 104 || column == 0 || column == 99;
        if (edge) {
          ASSERT_EQ(pixels[row * 100 + column], 88) << name << " touches its edge";
        }
      }
    }
  }
  EXPECT_EQ(read<DWORD>(table, 88 * 4), 0x00044C2Cu) << "key: red 4, green 76, blue 44";
  std::set<DWORD> colours;
  for (int i = 0; i < 256; ++i) colours.insert(read<DWORD>(table, 4 * i));
  EXPECT_EQ(colours.size(), 256u);
}

struct ResourceKinds {
  std::set<ULONG_PTR> numericTypes;
  std::set<std::wstring> namedTypes;
  std::set<WORD> languages;
};

BOOL CALLBACK collectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found) {
  reinterpret_cast<ResourceKinds*>(found)->languages.insert(language);
  return TRUE;
}
BOOL CALLBACK collectName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR found) {
  EnumResourceLanguagesW(module, type, name, collectLanguage, found);
  return TRUE;
}
BOOL CALLBACK collectType(HMODULE module, LPWSTR type, LONG_PTR found) {
  auto* kinds = reinterpret_cast<ResourceKinds*>(found);
  if (IS_INTRESOURCE(type)) {
    kinds->numericTypes.insert(reinterpret_cast<ULONG_PTR>(type));
  } else {
    kinds->namedTypes.insert(type);
  }
  EnumResourceNamesW(module, type, collectName, found);
  return TRUE;
}

TEST_F(ProgramResources, HoldOnlyArtIconCursorAndDialogInOneLanguage) {
  ResourceKinds kinds;
  EnumResourceTypesW(program, collectType, reinterpret_cast<LONG_PTR>(&kinds));
  EXPECT_EQ(kinds.numericTypes, (std::set<ULONG_PTR>{1, 2, 3, 5, 12, 14}))
      << "cursor, bitmap, icon, dialog and the two groups; no string, menu, version or sound";
  EXPECT_TRUE(kinds.namedTypes.empty());
  EXPECT_EQ(kinds.languages, std::set<WORD>{TAIWAN});
  EXPECT_EQ(FindResourceW(program, L"SND1", L"WAVE"), nullptr);
}

TEST_F(ProgramResources, IconGroupHoldsOne256ColourImage) {
  const std::vector<BYTE> group = bytes(MAKEINTRESOURCEW(14), MAKEINTRESOURCEW(1002));
  ASSERT_EQ(group.size(), 6u + 14u);
  EXPECT_EQ(read<WORD>(group, 2), 1) << "an icon group";
  EXPECT_EQ(read<WORD>(group, 4), 1) << "one image";
  EXPECT_EQ(group[6], 32);
  EXPECT_EQ(group[7], 32);
  EXPECT_EQ(read<WORD>(group, 6 + 6), 8) << "8 bits per pixel";
  EXPECT_EQ(read<WORD>(group, 6 + 12), 1) << "icon image 1";
  const std::vector<BYTE> image = bytes(MAKEINTRESOURCEW(3), MAKEINTRESOURCEW(1));
  ASSERT_GE(image.size(), 40u);
  EXPECT_EQ(read<DWORD>(group, 6 + 8), image.size());
  EXPECT_EQ(read<WORD>(image, 14), 8);
}

TEST_F(ProgramResources, CursorGroupNamesEachImageWithItsTrueDepth) {
  const std::vector<BYTE> group = bytes(MAKEINTRESOURCEW(12), MAKEINTRESOURCEW(111));
  ASSERT_EQ(group.size(), 6u + 2 * 14u);
  EXPECT_EQ(read<WORD>(group, 2), 2) << "a cursor group";
  EXPECT_EQ(read<WORD>(group, 4), 2);
  const struct { WORD bits; WORD id; } expected[] = {{1, 2}, {8, 3}};
  for (int i = 0; i < 2; ++i) {
    const size_t entry = 6 + 14 * i;
    EXPECT_EQ(read<WORD>(group, entry), 32);
    EXPECT_EQ(read<WORD>(group, entry + 2), 64) << "cursor entries count the mask rows too";
    EXPECT_EQ(read<WORD>(group, entry + 6), expected[i].bits);
    EXPECT_EQ(read<WORD>(group, entry + 12), expected[i].id);
    const std::vector<BYTE> image = bytes(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(expected[i].id));
    ASSERT_GE(image.size(), 44u);
    EXPECT_EQ(read<DWORD>(group, entry + 8), image.size());
    EXPECT_EQ(read<WORD>(image, 0), 5) << "hot spot x";
    EXPECT_EQ(read<WORD>(image, 2), 8) << "hot spot y";
    EXPECT_EQ(read<LONG>(image, 4 + 4), 32);
    EXPECT_EQ(read<WORD>(image, 4 + 14), expected[i].bits);
  }
  HCURSOR cursor = LoadCursorW(program, MAKEINTRESOURCEW(111));
  ASSERT_NE(cursor, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(cursor, &info));
  EXPECT_EQ(info.xHotspot, 5u);
  EXPECT_EQ(info.yHotspot, 8u);
  DeleteObject(info.hbmMask);
  DeleteObject(info.hbmColor);
}

// Reads an extended dialog template as the system does.
struct DialogReader {
  const std::vector<BYTE>& data;
  size_t at = 0;
  WORD word() { return read<WORD>(data, (at += 2) - 2); }
  DWORD dword() { return read<DWORD>(data, (at += 4) - 4); }
  std::wstring text() {
    std::wstring value;
    while (WORD c = word()) value.push_back(static_cast<wchar_t>(c));
    return value;
  }
  void alignToDword() { at = (at + 3) & ~size_t(3); }
};

TEST_F(ProgramResources, MenuDialogIsTheExtendedTemplateWithItsFourButtons) {
  const std::vector<BYTE> data = bytes(MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(107));
  ASSERT_FALSE(data.empty());
  DialogReader dialog{data};
  EXPECT_EQ(dialog.word(), 1);
  EXPECT_EQ(dialog.word(), 0xFFFF);
  EXPECT_EQ(dialog.dword(), 0u) << "help id";
  EXPECT_EQ(dialog.dword(), 0x200u) << "client edge";
  EXPECT_EQ(dialog.dword(), 0x90C00AC2u);
  EXPECT_EQ(dialog.word(), 4) << "controls";
  EXPECT_EQ(dialog.word(), 0);
  EXPECT_EQ(dialog.word(), 0);
  EXPECT_EQ(dialog.word(), 179);
  EXPECT_EQ(dialog.word(), 76);
  EXPECT_EQ(dialog.word(), 0) << "no menu";
  EXPECT_EQ(dialog.word(), 0) << "the standard dialog class";
  EXPECT_EQ(dialog.text(), L"澄曦數碼-夢舞華章小可愛");
  EXPECT_EQ(dialog.word(), 9) << "points";
  EXPECT_EQ(dialog.word(), 0) << "weight";
  EXPECT_EQ(data[dialog.at++], 0) << "italic";
  EXPECT_EQ(data[dialog.at++], 1) << "character set";
  EXPECT_EQ(dialog.text(), L"細明體");

  const struct {
    DWORD id, style;
    WORD x, y, cx, cy;
    const wchar_t* text;
  } controls[] = {{1000, 0x50010000, 39, 7, 100, 20, L"澄曦數碼全球資訊網"},
                  {1004, 0x48010F03, 106, 33, 30, 10, L"靜音"},
                  {1001, 0x50010F00, 21, 49, 62, 20, L"繼續桌前小精靈"},
                  {1006, 0x50010F00, 94, 49, 63, 20, L"關閉桌前小精靈"}};
  for (const auto& control : controls) {
    dialog.alignToDword();
    EXPECT_EQ(dialog.dword(), 0u) << "help id of " << control.id;
    EXPECT_EQ(dialog.dword(), 0u) << "extended style of " << control.id;
    EXPECT_EQ(dialog.dword(), control.style) << "style of " << control.id;
    EXPECT_EQ(dialog.word(), control.x);
    EXPECT_EQ(dialog.word(), control.y);
    EXPECT_EQ(dialog.word(), control.cx);
    EXPECT_EQ(dialog.word(), control.cy);
    EXPECT_EQ(dialog.dword(), control.id);
    EXPECT_EQ(dialog.word(), 0xFFFF) << "class by ordinal";
    EXPECT_EQ(dialog.word(), 0x0080) << "the button class";
    EXPECT_EQ(dialog.text(), control.text);
    EXPECT_EQ(dialog.word(), 0) << "no creation data";
  }
}

}  // namespace
