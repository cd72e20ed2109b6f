#include "menu/launch_text.h"

#include <cstring>

namespace launch {

namespace {

constexpr char ADDRESS_SEPARATOR[] = "  ";

// Length of text, looking at no more than `limit` characters: the texts handed
// in are not trusted to be terminated within their buffers.
size_t boundedLength(const char* text, size_t limit) {
  size_t length = 0;
  while (length < limit && text[length] != '\0') {
    ++length;
  }
  return length;
}

// Appends `tail` at `end` of a text and terminates it; returns the new end.
size_t appendAt(char* text, size_t end, const char* tail) {
  const size_t tailLength = std::strlen(tail);
  std::memcpy(text + end, tail, tailLength);
  text[end + tailLength] = '\0';
  return end + tailLength;
}

}  // namespace

void registryText(const char* data, size_t dataBytes, char* out) {
  if (out == nullptr) {
    return;
  }
  if (data == nullptr) {
    out[0] = '\0';
    return;
  }
  const size_t limit = dataBytes < VALUE_BYTES - 1 ? dataBytes : VALUE_BYTES - 1;
  const size_t length = boundedLength(data, limit);
  std::memcpy(out, data, length);
  out[length] = '\0';
}

bool commandKeyPath(const char* className, char* out) {
  if (out == nullptr) {
    return false;
  }
  out[0] = '\0';
  if (className == nullptr) {
    return false;
  }
  constexpr size_t suffixLength = sizeof(COMMAND_KEY_SUFFIX) - 1;
  constexpr size_t longestClassName = KEY_PATH_BYTES - 1 - suffixLength;
  // Looking one character further than the longest name that fits is enough
  // to know a name is too long, without walking the whole of it.
  const size_t classLength = boundedLength(className, longestClassName + 1);
  if (classLength > longestClassName) {
    return false;
  }
  std::memcpy(out, className, classLength);
  appendAt(out, classLength, COMMAND_KEY_SUFFIX);
  return true;
}

void cutLastArgument(char* text) {
  if (text == nullptr) {
    return;
  }
  for (size_t at = std::strlen(text); at >= 1; --at) {
    if (text[at] == ' ') {
      return;
    }
    text[at] = '\0';
  }
}

void homePageCommand(const char* commandText, char* out) {
  if (out == nullptr) {
    return;
  }
  const size_t length = commandText == nullptr ? 0 : boundedLength(commandText, VALUE_BYTES - 1);
  if (length > 0) {
    std::memcpy(out, commandText, length);
  }
  out[length] = '\0';
  cutLastArgument(out);
  const size_t end = appendAt(out, std::strlen(out), ADDRESS_SEPARATOR);
  appendAt(out, end, HOME_PAGE_ADDRESS);
}

}  // namespace launch
