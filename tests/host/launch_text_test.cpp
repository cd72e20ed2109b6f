#include "menu/launch_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Registry text in a heap block of exactly its size, so that AddressSanitizer
// catches a read of even one character too many.
std::wstring readRegistry(const std::wstring& units) {
  std::vector<wchar_t> data(units.begin(), units.end());
  return launch::registryText(data.empty() ? nullptr : data.data(), data.size());
}

std::wstring cut(const std::wstring& text) { return launch::cutLastArgument(text); }
std::wstring command(const std::wstring& text) { return launch::homePageCommand(text); }

TEST(LaunchText, RegistryReadsBecomeTerminatedTexts) {
  EXPECT_EQ(readRegistry(std::wstring(L"htmlfile\0", 9)), L"htmlfile");
  EXPECT_EQ(readRegistry(L"htmlfile"), L"htmlfile");  // no terminator stored
  EXPECT_EQ(readRegistry(std::wstring(L"html\0file", 9)), L"html");
  EXPECT_EQ(readRegistry(L""), L"");
  EXPECT_EQ(readRegistry(std::wstring(127, L'a')), std::wstring(127, L'a'));
  EXPECT_EQ(readRegistry(std::wstring(40000, L'a')), std::wstring(40000, L'a'));
  EXPECT_EQ(readRegistry(L"C:\\瀏覽器\\browser.exe"), L"C:\\瀏覽器\\browser.exe");
  EXPECT_EQ(launch::registryText(nullptr, 10), L"");
  EXPECT_EQ(launch::registryText(L"abc", 0), L"");
}

TEST(LaunchText, CommandKeyPathFitsClassNamesOfAnyLength) {
  EXPECT_EQ(launch::commandKeyPath(L"htmlfile"), L"htmlfile\\shell\\open\\command");
  const std::wstring longName(200, L'c');
  EXPECT_EQ(launch::commandKeyPath(longName), longName + L"\\shell\\open\\command");
}

TEST(LaunchText, CutKeepsTextUpToTheLastSpaceAfterTheFirstCharacter) {
  EXPECT_EQ(cut(L"\"C:\\Program Files\\Browser\\browser.exe\" -osint -url \"%1\""),
            L"\"C:\\Program Files\\Browser\\browser.exe\" -osint -url ");
  EXPECT_EQ(cut(L"abc "), L"abc ");
  EXPECT_EQ(cut(L"a b"), L"a ");
  EXPECT_EQ(cut(L""), L"");
}

TEST(LaunchText, ACommandWithoutAnArgumentStaysWhole) {
  EXPECT_EQ(cut(L"browser"), L"browser");
  EXPECT_EQ(cut(L"C:\\Browser\\browser.exe"), L"C:\\Browser\\browser.exe");
  EXPECT_EQ(cut(L" browser"), L" browser") << "a leading space starts no argument";
  EXPECT_EQ(cut(L"\"C:\\Program Files\\Browser\\browser.exe\""),
            L"\"C:\\Program Files\\Browser\\browser.exe\"");
  EXPECT_EQ(cut(L"\"C:\\Program Files\\Browser\\browser.exe"),
            L"\"C:\\Program Files\\Browser\\browser.exe")
      << "an unclosed quote runs to the end";
}

TEST(LaunchText, QuotedSpacesStartNoArgument) {
  EXPECT_EQ(cut(L"\"C:\\Program Files\\Browser\\browser.exe\" %1"),
            L"\"C:\\Program Files\\Browser\\browser.exe\" ");
  EXPECT_EQ(cut(L"browser.exe --profile \"My Profile\""), L"browser.exe --profile ");
  EXPECT_EQ(cut(L"\"C:\\Program Files\\瀏覽器\\browser.exe\" --flag \"%1\""),
            L"\"C:\\Program Files\\瀏覽器\\browser.exe\" --flag ");
}

TEST(LaunchText, HomePageCommandReplacesTheLastArgument) {
  EXPECT_EQ(command(L"\"C:\\Program Files\\Browser\\browser.exe\" -osint -url \"%1\""),
            L"\"C:\\Program Files\\Browser\\browser.exe\" -osint -url   www.example.com");
  EXPECT_EQ(command(L"abc "), L"abc   www.example.com");
  EXPECT_EQ(command(L"browser"), L"browser  www.example.com");
  EXPECT_EQ(command(L"\"C:\\Program Files\\Browser\\browser.exe\""),
            L"\"C:\\Program Files\\Browser\\browser.exe\"  www.example.com");
  EXPECT_EQ(command(L""), L"  www.example.com");
}

TEST(LaunchText, LongCommandsAreNotShortened) {
  // Far past the 127 characters a fixed buffer once held: the system alone
  // decides how long a command line may be.
  std::wstring text(1000, L'p');
  text[100] = L' ';
  text[900] = L' ';
  EXPECT_EQ(command(text), text.substr(0, 901) + L"  www.example.com");
}

}  // namespace
