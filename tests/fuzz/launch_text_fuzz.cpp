// Feeds registry-read-like chunks through the whole launcher text path and
// checks that every text stays terminated inside its buffer.
#include "menu/launch_text.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

namespace {

void require(bool holds) {
  if (!holds) __builtin_trap();
}

// A chunk copied to a heap block of exactly its size, so that AddressSanitizer
// sees a read of one byte past the registry data.
std::unique_ptr<char[]> exactCopy(const uint8_t* bytes, size_t size) {
  std::unique_ptr<char[]> copy(new char[size == 0 ? 1 : size]);
  if (size > 0) std::memcpy(copy.get(), bytes, size);
  return copy;
}

size_t terminatedLength(const char* text, size_t bufferBytes) {
  const void* end = std::memchr(text, 0, bufferBytes);
  require(end != nullptr);
  return static_cast<size_t>(static_cast<const char*>(end) - text);
}

void checkRegistryText(const uint8_t* bytes, size_t size, char* out) {
  std::unique_ptr<char[]> data = exactCopy(bytes, size);
  launch::registryText(data.get(), size, out);
  const size_t length = terminatedLength(out, launch::VALUE_BYTES);
  require(length <= size);
  require(std::memcmp(out, data.get(), length) == 0);
}

void checkKeyPath(const char* className) {
  std::unique_ptr<char[]> path(new char[launch::KEY_PATH_BYTES]);
  const size_t classLength = std::strlen(className);
  const size_t suffixLength = std::strlen(launch::COMMAND_KEY_SUFFIX);
  const bool built = launch::commandKeyPath(className, path.get());
  const size_t pathLength = terminatedLength(path.get(), launch::KEY_PATH_BYTES);
  require(built == (classLength + suffixLength <= launch::KEY_PATH_BYTES - 1));
  require(pathLength == (built ? classLength + suffixLength : 0));
}

void checkHomePageCommand(const char* commandText) {
  std::unique_ptr<char[]> out(new char[launch::COMMAND_BYTES]);
  launch::homePageCommand(commandText, out.get());
  const size_t length = terminatedLength(out.get(), launch::COMMAND_BYTES);
  const size_t tailLength = 2 + std::strlen(launch::HOME_PAGE_ADDRESS);
  require(length >= tailLength);
  const size_t kept = length - tailLength;
  require(std::memcmp(out.get() + kept, "  ", 2) == 0);
  require(std::strcmp(out.get() + kept + 2, launch::HOME_PAGE_ADDRESS) == 0);
  require(kept <= std::strlen(commandText));
  require(std::memcmp(out.get(), commandText, kept) == 0);
  require(kept <= 1 || out[kept - 1] == ' ');
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

  char className[launch::VALUE_BYTES];
  checkRegistryText(classData, classBytes, className);
  checkKeyPath(className);

  char commandText[launch::VALUE_BYTES];
  checkRegistryText(commandData, commandBytes, commandText);
  checkHomePageCommand(commandText);
  return 0;
}
