// Unbuffered byte access to a file: the one piece of the stream layer that
// differs between platforms (raw_file_posix.cpp, raw_file_win32.cpp).
#pragma once

#include <cstddef>
#include <memory>

namespace numerio {

struct RawOpenRequest {
    bool read = false;
    bool write = false;
    bool create = false;      // create the file when it is missing
    bool truncate = false;    // empty an existing file
    bool exclusive = false;   // fail when the file exists
    bool delete_on_close = false;
};

class RawFile {
public:
    virtual ~RawFile() = default;
    // Bytes read (0 at the end of the file), or -1 on error with errno set.
    virtual long long read(void* buffer, std::size_t count) = 0;
    // Writes every byte or fails with errno set.
    virtual bool write(const void* data, std::size_t count) = 0;
    // origin is 0, 1 or 2 (set, current, end). New position or -1.
    virtual long long seek(long long offset, int origin) = 0;
    virtual bool close() = 0;
};

// Null with errno set when the file cannot be opened. A narrow name is in
// the system's code page, as the platform's own fopen takes it.
std::unique_ptr<RawFile> open_raw_file(const char* name, const RawOpenRequest& request);
std::unique_ptr<RawFile> open_raw_file(const wchar_t* name, const RawOpenRequest& request);

}  // namespace numerio
