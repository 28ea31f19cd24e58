// Appends the saved log to a file.
#pragma once

#include <filesystem>
#include <string>

namespace zu {

enum class SaveLogResult { Saved, OpenFailed, WriteFailed };

// Appends the bytes unchanged (binary mode: the log's "\r\n" must not gain a
// second carriage return), creating the file when it is missing.
SaveLogResult AppendLogFile(const std::filesystem::path& path, const std::string& bytes);

}  // namespace zu
