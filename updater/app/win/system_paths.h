// Folders and texts the program works with, without a fixed limit on their length.
#pragma once

#include <windows.h>

#include <string>

namespace zu {

// Full path of the program file.
std::wstring ModuleFileName();
// Drive and directory of the program file, ending in a backslash.
std::wstring ProgramFolder();
// The user's temporary folder, ending in a backslash.
std::wstring TemporaryFolder();
// Whole text of a window (edit controls may hold far more than 256 characters).
std::wstring WindowText(HWND window);

}  // namespace zu
