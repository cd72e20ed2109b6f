#pragma once
#include <cstddef>

// Text work behind the menu button that opens the maker's home page: the
// browser's command line comes out of the registry, loses its last argument and
// gets the home-page address in its place. No Windows API here; the caller does
// the registry reads and starts the process.
namespace launch {

constexpr char HOME_PAGE_ADDRESS[] = "www.example.com";  // the maker's host name, named once
constexpr size_t VALUE_BYTES = 128;     // one registry read, terminator included
constexpr size_t KEY_PATH_BYTES = 128;  // key path buffer, terminator included
constexpr char COMMAND_KEY_SUFFIX[] = "\\shell\\open\\command";
constexpr size_t COMMAND_BYTES = VALUE_BYTES + 2 + sizeof(HOME_PAGE_ADDRESS);  // whole command line with terminator

// Turns the raw bytes of a registry read (dataBytes long, maybe without terminator, maybe with embedded
// terminator) into a terminated text in out[VALUE_BYTES]: at most VALUE_BYTES - 1 characters, stopping at the
// first zero byte. Never reads past data[dataBytes - 1]. dataBytes 0 or data null gives "".
void registryText(const char* data, size_t dataBytes, char* out);

// Builds "<className>\shell\open\command" into out[KEY_PATH_BYTES]. Returns false (and leaves out as "")
// when the path would not fit (more than KEY_PATH_BYTES - 1 characters, i.e. a class name over 108 chars).
bool commandKeyPath(const char* className, char* out);

// Cuts the last argument: everything after the last space that follows the first character goes; the
// space stays. With no such space only the first character remains; an empty text stays empty; a text
// ending in a space loses nothing.
void cutLastArgument(char* text);

// Builds the launch command into out[COMMAND_BYTES]: the command text (at most VALUE_BYTES - 1 chars; longer
// input is truncated to that, never read past its terminator) with its last argument cut, then two spaces, then
// HOME_PAGE_ADDRESS. Always terminated, never writes past out[COMMAND_BYTES - 1].
void homePageCommand(const char* commandText, char* out);

}  // namespace launch
