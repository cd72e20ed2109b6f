#include <windows.h>
#include <msxml2.h>
#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <fstream>
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
    program = LoadLibraryExW(path().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  }
  static std::wstring path() {
    std::wstring path = L"Z:" MORVET_BUILD_DIR "/morvet.exe";
    for (wchar_t& c : path) if (c == L'/') c = L'\\';
    return path;
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

TEST_F(ProgramResources, HoldOnlyArtIconCursorDialogVersionAndManifestInOneLanguage) {
  ResourceKinds kinds;
  EnumResourceTypesW(program, collectType, reinterpret_cast<LONG_PTR>(&kinds));
  EXPECT_EQ(kinds.numericTypes, (std::set<ULONG_PTR>{1, 2, 3, 5, 12, 14, 16, 24}))
      << "cursor, bitmap, icon, dialog, the two groups, version and manifest; no string, menu "
         "or sound";
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

// The version the file VERSION names, as "1.0.0".
std::wstring versionFileText() {
  std::ifstream file("Z:" MORVET_SOURCE_DIR "/VERSION");
  std::string text;
  file >> text;
  return wide(text);
}

TEST_F(ProgramResources, VersionIsTheVersionFileWithTheProgramsOwnWords) {
  const std::wstring version = versionFileText();
  unsigned numbers[3] = {};
  ASSERT_EQ(swscanf(version.c_str(), L"%u.%u.%u", &numbers[0], &numbers[1], &numbers[2]), 3)
      << "VERSION: " << std::string(version.begin(), version.end());

  const DWORD size = GetFileVersionInfoSizeW(path().c_str(), nullptr);
  ASSERT_GT(size, 0u) << "no version resource";
  std::vector<BYTE> info(size);
  ASSERT_TRUE(GetFileVersionInfoW(path().c_str(), 0, size, info.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwSignature, VS_FFI_SIGNATURE);
  EXPECT_EQ(fixed->dwFileVersionMS, (numbers[0] << 16) | numbers[1]);
  EXPECT_EQ(fixed->dwFileVersionLS, numbers[2] << 16);
  EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
  EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
  EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask, 0u)
      << "no debug, pre-release or patched build";
  EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
  EXPECT_EQ(fixed->dwFileDateMS | fixed->dwFileDateLS, 0u)
      << "no date: the build stays reproducible";

  WORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &length));
  ASSERT_EQ(length, 4u) << "one language";
  EXPECT_EQ(translation[0], TAIWAN);
  EXPECT_EQ(translation[1], 1200) << "UTF-16";

  const struct {
    const wchar_t* name;
    std::wstring value;
  } strings[] = {{L"ProductName", L"Morvet"},
                 {L"FileDescription", L"桌前小精靈"},
                 {L"FileVersion", version},
                 {L"ProductVersion", version},
                 {L"OriginalFilename", L"morvet.exe"},
                 {L"LegalCopyright", L"版權所有 © Morvet 的作者們"}};
  for (const auto& expected : strings) {
    const std::wstring key = std::wstring(L"\\StringFileInfo\\040404B0\\") + expected.name;
    wchar_t* value = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), key.c_str(), reinterpret_cast<void**>(&value), &length))
        << "no " << std::string(key.begin(), key.end());
    EXPECT_EQ(std::wstring(value), expected.value);
  }
}

// MSXML 3, the XML parser every Windows has; MinGW's libraries lack its ids.
const CLSID XML_DOCUMENT_30 = {
    0xf5078f32, 0xc551, 0x11d3, {0x89, 0xb9, 0x00, 0x00, 0xf8, 0x1f, 0xe2, 0x21}};
const IID XML_DOCUMENT_2_INTERFACE = {
    0x2933bf95, 0x7b36, 0x11d2, {0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60}};

struct Bstr {
  BSTR text;
  explicit Bstr(const std::wstring& value) : text(SysAllocStringLen(value.data(), value.size())) {}
  ~Bstr() { SysFreeString(text); }
};

// A parsed XML document, asked with XPath in the manifest's namespaces.
class XmlDocument {
 public:
  XmlDocument() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    CoCreateInstance(XML_DOCUMENT_30, nullptr, CLSCTX_INPROC_SERVER, XML_DOCUMENT_2_INTERFACE,
                     reinterpret_cast<void**>(&document));
  }
  ~XmlDocument() {
    if (document) document->Release();
    CoUninitialize();
  }
  // An empty text when the document is well-formed.
  std::wstring parse(const std::vector<BYTE>& utf8) {
    if (!document) return L"no XML parser";
    std::wstring text(MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<const char*>(utf8.data()),
                                          static_cast<int>(utf8.size()), nullptr, 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<const char*>(utf8.data()),
                        static_cast<int>(utf8.size()), &text[0], static_cast<int>(text.size()));
    VARIANT_BOOL parsed = VARIANT_FALSE;
    document->put_async(VARIANT_FALSE);
    document->loadXML(Bstr(text).text, &parsed);
    if (parsed == VARIANT_TRUE) {
      VARIANT value;
      VariantInit(&value);
      value.vt = VT_BSTR;
      value.bstrVal = SysAllocString(
          L"xmlns:asm='urn:schemas-microsoft-com:asm.v1' "
          L"xmlns:asm3='urn:schemas-microsoft-com:asm.v3' "
          L"xmlns:compat='urn:schemas-microsoft-com:compatibility.v1' "
          L"xmlns:ws2005='http://schemas.microsoft.com/SMI/2005/WindowsSettings' "
          L"xmlns:ws2016='http://schemas.microsoft.com/SMI/2016/WindowsSettings'");
      document->setProperty(Bstr(L"SelectionNamespaces").text, value);
      VariantClear(&value);
      return L"";
    }
    IXMLDOMParseError* error = nullptr;
    BSTR reason = nullptr;
    document->get_parseError(&error);
    if (error) error->get_reason(&reason);
    std::wstring why = reason ? reason : L"not well-formed";
    SysFreeString(reason);
    if (error) error->Release();
    return why;
  }
  // The texts of every node the path selects, in document order.
  std::vector<std::wstring> texts(const std::wstring& path) {
    std::vector<std::wstring> found;
    IXMLDOMNodeList* nodes = nullptr;
    if (document->selectNodes(Bstr(path).text, &nodes) != S_OK) return found;
    IXMLDOMNode* node = nullptr;
    while (nodes->nextNode(&node) == S_OK && node) {
      BSTR text = nullptr;
      node->get_text(&text);
      found.push_back(text ? text : L"");
      SysFreeString(text);
      node->Release();
    }
    nodes->Release();
    return found;
  }

 private:
  IXMLDOMDocument2* document = nullptr;
};

using Texts = std::vector<std::wstring>;

TEST_F(ProgramResources, ManifestIsWellFormedAndDeclaresWhatWindowsReadsAtStart) {
  const std::vector<BYTE> manifest = bytes(RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID);
  ASSERT_FALSE(manifest.empty()) << "no manifest 1";
  XmlDocument xml;
  ASSERT_EQ(xml.parse(manifest), L"");

  EXPECT_EQ(xml.texts(L"/asm:assembly/@manifestVersion"), Texts{L"1.0"});
  EXPECT_EQ(
      xml.texts(L"/asm:assembly/compat:compatibility/compat:application/compat:supportedOS/@Id"),
      (Texts{L"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", L"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
             L"{1f676c76-80e1-4239-95bb-83d0f6d0da78}", L"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}))
      << "Windows 7, 8, 8.1, and 10 and 11";

  const std::wstring level =
      L"/asm:assembly/asm3:trustInfo/asm3:security/asm3:requestedPrivileges/"
      L"asm3:requestedExecutionLevel/";
  EXPECT_EQ(xml.texts(level + L"@level"), Texts{L"asInvoker"});
  EXPECT_EQ(xml.texts(level + L"@uiAccess"), Texts{L"false"});

  const std::wstring settings = L"/asm:assembly/asm3:application/asm3:windowsSettings/";
  EXPECT_EQ(xml.texts(settings + L"ws2005:dpiAware"), Texts{L"true/pm"});
  EXPECT_EQ(xml.texts(settings + L"ws2016:dpiAwareness"), Texts{L"PerMonitorV2, PerMonitor"});

  const std::wstring controls =
      L"/asm:assembly/asm:dependency/asm:dependentAssembly/"
      L"asm:assemblyIdentity[@name='Microsoft.Windows.Common-Controls']/";
  EXPECT_EQ(xml.texts(controls + L"@type"), Texts{L"win32"});
  EXPECT_EQ(xml.texts(controls + L"@version"), Texts{L"6.0.0.0"});
  EXPECT_EQ(xml.texts(controls + L"@publicKeyToken"), Texts{L"6595b64144ccf1df"});
  EXPECT_EQ(xml.texts(controls + L"@processorArchitecture"), Texts{L"*"});
  EXPECT_EQ(xml.texts(controls + L"@language"), Texts{L"*"});
}

// The test program carries the program's resources, and so its manifest: what
// the system read from it when the process started, asked of the process's
// activation context.
TEST(OwnManifest, TheSystemReadsThePerMonitorAwarenessFromIt) {
  wchar_t value[64] = L"";
  SIZE_T length = 0;
  ASSERT_TRUE(QueryActCtxSettingsW(0, nullptr,
                                   L"http://schemas.microsoft.com/SMI/2005/WindowsSettings",
                                   L"dpiAware", value, 64, &length))
      << "error " << GetLastError();
  EXPECT_STREQ(value, L"true/pm");
  ASSERT_TRUE(QueryActCtxSettingsW(0, nullptr,
                                   L"http://schemas.microsoft.com/SMI/2016/WindowsSettings",
                                   L"dpiAwareness", value, 64, &length))
      << "error " << GetLastError();
  EXPECT_STREQ(value, L"PerMonitorV2, PerMonitor");
  // Nothing in the program asks for it. (Wine makes every process per-monitor
  // aware, whatever it declares; Windows does so for the settings above.)
  EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext()),
            DPI_AWARENESS_PER_MONITOR_AWARE);
}

}  // namespace
