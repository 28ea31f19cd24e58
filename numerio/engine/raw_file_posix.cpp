// POSIX files for the native build (tests and tools).
#include <cerrno>
#include <cwchar>
#include <fcntl.h>
#include <string>
#include <unistd.h>

#include "raw_file.h"

namespace numerio {
namespace {

class PosixFile final : public RawFile {
public:
    PosixFile(int fd, std::string path, bool delete_on_close)
        : fd_(fd), path_(std::move(path)), delete_on_close_(delete_on_close) {}
    ~PosixFile() override { close(); }

    long long read(void* buffer, std::size_t count) override {
        for (;;) {
            ssize_t n = ::read(fd_, buffer, count);
            if (n >= 0 || errno != EINTR) return n;
        }
    }

    bool write(const void* data, std::size_t count) override {
        auto* bytes = static_cast<const char*>(data);
        while (count > 0) {
            ssize_t n = ::write(fd_, bytes, count);
            if (n < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            bytes += n;
            count -= static_cast<std::size_t>(n);
        }
        return true;
    }

    long long seek(long long offset, int origin) override {
        static constexpr int kWhence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
        if (origin < 0 || origin > 2) {
            errno = EINVAL;
            return -1;
        }
        return ::lseek(fd_, static_cast<off_t>(offset), kWhence[origin]);
    }

    bool close() override {
        if (fd_ < 0) return true;
        bool ok = ::close(fd_) == 0;
        fd_ = -1;
        if (delete_on_close_) ::unlink(path_.c_str());
        return ok;
    }

private:
    int fd_;
    std::string path_;
    bool delete_on_close_;
};

}  // namespace

std::unique_ptr<RawFile> open_raw_file(const char* name, const RawOpenRequest& request) {
    int flags = request.read && request.write ? O_RDWR : request.write ? O_WRONLY : O_RDONLY;
    if (request.create) flags |= O_CREAT;
    if (request.truncate) flags |= O_TRUNC;
    if (request.exclusive) flags |= O_EXCL;
    int fd = ::open(name, flags | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    return std::make_unique<PosixFile>(fd, name, request.delete_on_close);
}

std::unique_ptr<RawFile> open_raw_file(const wchar_t* name, const RawOpenRequest& request) {
    // Wide names become UTF-8, the native file-name encoding.
    std::string utf8;
    for (const wchar_t* p = name; *p; ++p) {
        auto cp = static_cast<unsigned long>(*p);
        if (cp < 0x80) {
            utf8 += static_cast<char>(cp);
        } else if (cp < 0x800) {
            utf8 += static_cast<char>(0xC0 | (cp >> 6));
            utf8 += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            utf8 += static_cast<char>(0xE0 | (cp >> 12));
            utf8 += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x110000) {
            utf8 += static_cast<char>(0xF0 | (cp >> 18));
            utf8 += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            utf8 += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            errno = EILSEQ;
            return nullptr;
        }
    }
    return open_raw_file(utf8.c_str(), request);
}

}  // namespace numerio
