#pragma once
#include <cstddef>
#include <string>

// Text work behind the menu button that opens the maker's home page: the
// browser's command line comes from the system, loses its last argument and
// gets the home-page address in its place. No Windows API here; the caller
// asks the system for the command and starts the process.
//
// Texts are wide: UTF-16 on Windows, where wchar_t has 2 bytes, and 4-byte
// wchar_t where the host tests run. The work only looks for spaces, double
// quotes and terminators, so it means the same with either.
namespace launch {

constexpr wchar_t HOME_PAGE_ADDRESS[] = L"www.example.com";  // the maker's host name, named once
constexpr wchar_t COMMAND_KEY_SUFFIX[] = L"\\shell\\open\\command";

// The text of a registry value of `units` wide characters: up to its first
// terminator, or all of it when it has none. Never reads past data[units - 1].
std::wstring registryText(const wchar_t* data, size_t units);

// "<className>\shell\open\command", the key that holds the class's command.
std::wstring commandKeyPath(const std::wstring& className);

// True for a text that names no program: empty, or spaces alone.
bool isBlank(const std::wstring& text);

// Cuts the last argument: everything after the last space that follows the
// first character and lies outside double quotes goes; the space stays. A
// command with no such space has no argument to cut and stays whole.
std::wstring cutLastArgument(const std::wstring& command);

// The command with its last argument cut, then two spaces, then
// HOME_PAGE_ADDRESS.
std::wstring homePageCommand(const std::wstring& command);

}  // namespace launch
