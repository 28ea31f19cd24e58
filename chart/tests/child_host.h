// Runs lmc32_error_child and collects what it showed.
#pragma once
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

struct ChildRun {
    DWORD exitCode = 0;
    std::vector<std::pair<std::wstring, std::wstring>> boxes;  // caption, text
};

// The folder of the test program, with a trailing separator.
std::wstring ProgramFolder();

// A fresh folder holding copies of the child host and the library.
std::wstring PrivateCopyOfTheChildHost();

ChildRun RunChild(const wchar_t* scenario, const std::wstring& folder = ProgramFolder());
