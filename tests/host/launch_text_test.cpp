#include "menu/launch_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Registry bytes in a heap block of exactly their size, so that AddressSanitizer
// catches a read of even one byte too many.
std::string readRegistry(const std::string& bytes) {
  std::vector<char> data(bytes.begin(), bytes.end());
  std::vector<char> out(launch::VALUE_BYTES, 'x');
  launch::registryText(data.empty() ? nullptr : data.data(), data.size(), out.data());
  return out.data();
}

std::string cut(std::string text) {
  std::vector<char> buffer(text.begin(), text.end());
  buffer.push_back('\0');
  launch::cutLastArgument(buffer.data());
  return buffer.data();
}

std::string command(const std::string& text) {
  std::vector<char> in(text.begin(), text.end());
  in.push_back('\0');
  std::vector<char> out(launch::COMMAND_BYTES, 'x');
  launch::homePageCommand(in.data(), out.data());
  return out.data();
}

TEST(LaunchText, RegistryReadsBecomeTerminatedTexts) {
  EXPECT_EQ(readRegistry(std::string("htmlfile\0", 9)), "htmlfile");
  EXPECT_EQ(readRegistry("htmlfile"), "htmlfile");  // no terminator stored
  EXPECT_EQ(readRegistry(std::string("html\0file", 9)), "html");
  EXPECT_EQ(readRegistry(""), "");
  EXPECT_EQ(readRegistry(std::string(127, 'a')), std::string(127, 'a'));
  EXPECT_EQ(readRegistry(std::string(300, 'a')), std::string(127, 'a'));
  char out[launch::VALUE_BYTES] = "stale";
  launch::registryText(nullptr, 10, out);
  EXPECT_STREQ(out, "");
  launch::registryText("abc", 0, out);
  EXPECT_STREQ(out, "");
}

TEST(LaunchText, CommandKeyPathFitsClassNamesUpTo108Characters) {
  char out[launch::KEY_PATH_BYTES];
  ASSERT_TRUE(launch::commandKeyPath("htmlfile", out));
  EXPECT_STREQ(out, "htmlfile\\shell\\open\\command");

  const std::string longest(108, 'c');
  ASSERT_TRUE(launch::commandKeyPath(longest.c_str(), out));
  EXPECT_EQ(std::string(out), longest + launch::COMMAND_KEY_SUFFIX);
  EXPECT_EQ(std::string(out).size(), launch::KEY_PATH_BYTES - 1);

  EXPECT_FALSE(launch::commandKeyPath(std::string(109, 'c').c_str(), out));
  EXPECT_STREQ(out, "");
  EXPECT_FALSE(launch::commandKeyPath(std::string(5000, 'c').c_str(), out));
  EXPECT_STREQ(out, "");
}

TEST(LaunchText, CutKeepsTextUpToTheLastSpaceAfterTheFirstCharacter) {
  EXPECT_EQ(cut("\"C:\\Program Files\\Browser\\browser.exe\" -osint -url \"%1\""),
            "\"C:\\Program Files\\Browser\\browser.exe\" -osint -url ");
  EXPECT_EQ(cut("abc "), "abc ");
  EXPECT_EQ(cut("browser"), "b");
  EXPECT_EQ(cut(" browser"), " ");
  EXPECT_EQ(cut("a b"), "a ");
  EXPECT_EQ(cut(""), "");
}

TEST(LaunchText, HomePageCommandReplacesTheLastArgument) {
  EXPECT_EQ(command("\"C:\\Program Files\\Browser\\browser.exe\" -osint -url \"%1\""),
            "\"C:\\Program Files\\Browser\\browser.exe\" -osint -url   www.example.com");
  EXPECT_EQ(command("abc "), "abc   www.example.com");
  EXPECT_EQ(command("browser"), "b  www.example.com");
  EXPECT_EQ(command(""), "  www.example.com");
}

TEST(LaunchText, OverlongCommandIsTruncatedBeforeTheCut) {
  // The space at 127 lies beyond what is kept, so the cut goes back to the one at 100.
  std::string text(200, 'p');
  text[100] = ' ';
  text[127] = ' ';
  EXPECT_EQ(command(text), std::string(100, 'p') + "   www.example.com");

  // The longest possible result still fits the buffer, terminator included.
  const std::string longest = command(std::string(126, 'p') + ' ');
  EXPECT_EQ(longest.size(), launch::COMMAND_BYTES - 2);
}

}  // namespace
