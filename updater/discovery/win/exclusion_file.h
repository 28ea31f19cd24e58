// Reading and writing the adapter exclusion file.
#pragma once

#include <string>

#include "discovery/exclusion_table.h"

namespace zu {

// "DRIVERS\Adapters.use" in the given folder (which ends in a backslash).
std::wstring ExclusionFilePath(const std::wstring& programFolder);

// A missing or unreadable file, or one of the wrong size, gives an empty table.
ExclusionTable LoadExclusions(const std::wstring& path);
// False when the file cannot be written (for example without the folder
// "DRIVERS"); the table in memory still applies.
bool SaveExclusions(const std::wstring& path, const ExclusionTable& table);

}  // namespace zu
