// Feeds registry-read-like chunks through the whole launcher text path and
// checks that the command line keeps the command's front, cut only after an
// unquoted space, and always ends in the address.
#include "menu/launch_text.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

void require(bool holds) {
  if (!holds) __builtin_trap();
}

// The bytes as wide characters in a heap block of exactly their size, so that
// AddressSanitizer sees a read of one character past the registry data.
std::vector<wchar_t> wideUnits(const uint8_t* bytes, size_t size) {
  std::vector<wchar_t> units(size / sizeof(wchar_t));
  if (!units.empty()) std::memcpy(units.data(), bytes, units.size() * sizeof(wchar_t));
  return units;
}

std::wstring checkRegistryText(const uint8_t* bytes, size_t size) {
  const std::vector<wchar_t> units = wideUnits(bytes, size);
  const std::wstring text = launch::registryText(units.empty() ? nullptr : units.data(), units.size());
  require(text.size() <= units.size());
  require(std::wstring(units.data(), text.size()) == text);
  require(text.size() == units.size() || units[text.size()] == L'\0');
  require(text.find(L'\0') == std::wstring::npos);
  return text;
}

// True when the text holds an unclosed double quote at its end.
bool insideQuotes(const std::wstring& text) {
  size_t quotes = 0;
  for (wchar_t c : text) quotes += c == L'"';
  return quotes % 2 == 1;
}

void checkHomePageCommand(const std::wstring& commandText) {
  const std::wstring line = launch::homePageCommand(commandText);
  const std::wstring tail = std::wstring(L"  ") + launch::HOME_PAGE_ADDRESS;
  require(line.size() >= tail.size());
  const size_t kept = line.size() - tail.size();
  require(line.compare(kept, tail.size(), tail) == 0);
  require(kept <= commandText.size());
  require(commandText.compare(0, kept, line, 0, kept) == 0);
  if (kept == commandText.size()) return;
  // Something was cut: just after a space past the first character, outside
  // quotes, and nothing cut holds another such space.
  require(kept >= 2 && line[kept - 1] == L' ' && !insideQuotes(line.substr(0, kept - 1)));
  bool quoted = insideQuotes(line.substr(0, kept));
  for (size_t at = kept; at < commandText.size(); ++at) {
    if (commandText[at] == L'"') quoted = !quoted;
    require(commandText[at] != L' ' || quoted);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // First byte: how many of the following bytes are the class-name read; the
  // rest is the command-line read.
  const size_t classBytes = data[0] < size - 1 ? data[0] : size - 1;
  const uint8_t* classData = data + 1;
  const uint8_t* commandData = classData + classBytes;
  const size_t commandBytes = size - 1 - classBytes;

  checkRegistryText(classData, classBytes);
  checkHomePageCommand(checkRegistryText(commandData, commandBytes));
  return 0;
}
