#include "app/save_log.h"

#include <fstream>

namespace zu {

SaveLogResult AppendLogFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::app);
    if (!file.is_open()) return SaveLogResult::OpenFailed;
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.flush();
    const bool written = file.good();
    file.close();
    return written && !file.fail() ? SaveLogResult::Saved : SaveLogResult::WriteFailed;
}

}  // namespace zu
