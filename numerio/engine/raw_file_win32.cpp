// Win32 files for the DLL: CreateFile handles, no C runtime streams, so the
// host's runtime can neither see nor disturb them.
#include <windows.h>

#include <cerrno>

#include "raw_file.h"

namespace numerio {
namespace {

int errno_from_last_error() {
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_NEGATIVE_SEEK:
    case ERROR_INVALID_PARAMETER:
    case ERROR_INVALID_NAME:
        return EINVAL;
    case ERROR_TOO_MANY_OPEN_FILES:
        return EMFILE;
    default:
        return EIO;
    }
}

class Win32File final : public RawFile {
public:
    explicit Win32File(HANDLE handle) : handle_(handle) {}
    ~Win32File() override { close(); }

    long long read(void* buffer, std::size_t count) override {
        DWORD got = 0;
        DWORD want = count > 0x40000000u ? 0x40000000u : static_cast<DWORD>(count);
        if (!ReadFile(handle_, buffer, want, &got, nullptr)) {
            if (GetLastError() == ERROR_BROKEN_PIPE || GetLastError() == ERROR_HANDLE_EOF) return 0;
            errno = errno_from_last_error();
            return -1;
        }
        return got;
    }

    bool write(const void* data, std::size_t count) override {
        auto* bytes = static_cast<const char*>(data);
        while (count > 0) {
            DWORD chunk = count > 0x40000000u ? 0x40000000u : static_cast<DWORD>(count);
            DWORD done = 0;
            if (!WriteFile(handle_, bytes, chunk, &done, nullptr) || done == 0) {
                errno = errno_from_last_error();
                return false;
            }
            bytes += done;
            count -= done;
        }
        return true;
    }

    long long seek(long long offset, int origin) override {
        static constexpr DWORD kMethod[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
        if (origin < 0 || origin > 2) {
            errno = EINVAL;
            return -1;
        }
        LARGE_INTEGER distance, position;
        distance.QuadPart = offset;
        if (!SetFilePointerEx(handle_, distance, &position, kMethod[origin])) {
            errno = errno_from_last_error();
            return -1;
        }
        return position.QuadPart;
    }

    bool close() override {
        if (handle_ == INVALID_HANDLE_VALUE) return true;
        bool ok = CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE handle_;
};

DWORD creation_disposition(const RawOpenRequest& r) {
    if (r.exclusive) return CREATE_NEW;
    if (r.create && r.truncate) return CREATE_ALWAYS;
    if (r.create) return OPEN_ALWAYS;
    if (r.truncate) return TRUNCATE_EXISTING;
    return OPEN_EXISTING;
}

template <typename CharT, typename CreateFn>
std::unique_ptr<RawFile> open_with(const CharT* name, const RawOpenRequest& r, CreateFn create_file) {
    DWORD access = (r.read ? GENERIC_READ : 0) | (r.write ? GENERIC_WRITE : 0);
    DWORD flags = FILE_ATTRIBUTE_NORMAL | (r.delete_on_close ? FILE_FLAG_DELETE_ON_CLOSE : 0);
    DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | (r.delete_on_close ? FILE_SHARE_DELETE : 0);
    HANDLE h = create_file(name, access, share, nullptr, creation_disposition(r), flags, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        errno = errno_from_last_error();
        return nullptr;
    }
    return std::make_unique<Win32File>(h);
}

}  // namespace

std::unique_ptr<RawFile> open_raw_file(const char* name, const RawOpenRequest& request) {
    return open_with(name, request, CreateFileA);
}

std::unique_ptr<RawFile> open_raw_file(const wchar_t* name, const RawOpenRequest& request) {
    return open_with(name, request, CreateFileW);
}

}  // namespace numerio
