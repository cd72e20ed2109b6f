#include "menu/launch_text.h"

namespace launch {

namespace {

constexpr wchar_t ADDRESS_SEPARATOR[] = L"  ";

// Where the last argument starts: just after the last space that follows the
// first character outside double quotes. A quoted space belongs to a path
// such as "C:\Program Files\...". npos when there is no such space.
size_t lastArgumentStart(const std::wstring& command) {
  size_t start = std::wstring::npos;
  bool quoted = false;
  for (size_t at = 0; at < command.size(); ++at) {
    if (command[at] == L'"') {
      quoted = !quoted;
    } else if (command[at] == L' ' && at >= 1 && !quoted) {
      start = at + 1;
    }
  }
  return start;
}

}  // namespace

std::wstring registryText(const wchar_t* data, size_t units) {
  if (data == nullptr) return std::wstring();
  size_t length = 0;
  while (length < units && data[length] != L'\0') ++length;
  return std::wstring(data, length);
}

std::wstring commandKeyPath(const std::wstring& className) {
  return className + COMMAND_KEY_SUFFIX;
}

bool isBlank(const std::wstring& text) {
  return text.find_first_not_of(L' ') == std::wstring::npos;
}

std::wstring cutLastArgument(const std::wstring& command) {
  const size_t start = lastArgumentStart(command);
  return start == std::wstring::npos ? command : command.substr(0, start);
}

std::wstring homePageCommand(const std::wstring& command) {
  return cutLastArgument(command) + ADDRESS_SEPARATOR + HOME_PAGE_ADDRESS;
}

}  // namespace launch
