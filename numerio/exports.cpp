// The exported functions: thin wrappers that hand the caller's buffers,
// strings and streams to the engines. No Windows header: the same file is
// built natively and tested under the sanitizers.
#define NUMERIO_BUILDING
#include "numerio.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <memory>
#include <mutex>
#include <vector>

#include "engine/float_parse.h"
#include "engine/format.h"
#include "engine/scan.h"
#include "engine/stream.h"

namespace numerio {
namespace {

// Streams handed out to hosts. A pointer is only ever dereferenced after it
// was found here, so a null, closed or foreign pointer is refused safely.
class StreamTable {
public:
    Stream* add(std::unique_ptr<Stream> stream) {
        std::lock_guard lock(mutex_);
        streams_.push_back(std::move(stream));
        return streams_.back().get();
    }

    Stream* find(void* handle) {
        std::lock_guard lock(mutex_);
        for (auto& s : streams_)
            if (s.get() == handle) return s.get();
        return nullptr;
    }

    std::unique_ptr<Stream> remove(void* handle) {
        std::lock_guard lock(mutex_);
        auto it = std::find_if(streams_.begin(), streams_.end(),
                               [handle](const auto& s) { return s.get() == handle; });
        if (it == streams_.end()) return nullptr;
        std::unique_ptr<Stream> stream = std::move(*it);
        streams_.erase(it);
        return stream;
    }

private:
    std::mutex mutex_;
    std::vector<std::unique_ptr<Stream>> streams_;
};

// Destroyed when the library unloads: streams left open are flushed then.
StreamTable g_streams;

Stream* find_stream(void* handle) {
    Stream* s = g_streams.find(handle);
    if (!s) errno = EINVAL;
    return s;
}

template <typename CharT>
class BufferSink final : public OutputSink<CharT> {
public:
    explicit BufferSink(CharT* buffer) : cursor_(buffer) {}
    bool write(const CharT* text, std::size_t count) override {
        cursor_ = std::copy(text, text + count, cursor_);
        return true;
    }
    void terminate() { *cursor_ = CharT(0); }

private:
    CharT* cursor_;
};

class NarrowStreamSink final : public OutputSink<char> {
public:
    explicit NarrowStreamSink(Stream& s) : stream_(s) {}
    bool write(const char* text, std::size_t count) override { return stream_.write_narrow(text, count); }

private:
    Stream& stream_;
};

class WideStreamSink final : public OutputSink<wchar_t> {
public:
    explicit WideStreamSink(Stream& s) : stream_(s) {}
    bool write(const wchar_t* text, std::size_t count) override { return stream_.write_wide(text, count); }

private:
    Stream& stream_;
};

template <typename CharT>
class StringSource final : public InputSource<CharT> {
public:
    explicit StringSource(const CharT* text) : cursor_(text) {}
    long get() override {
        if (*cursor_ == CharT(0)) return InputSource<CharT>::kEnd;
        using Unsigned = std::make_unsigned_t<CharT>;
        return static_cast<long>(static_cast<Unsigned>(*cursor_++));
    }
    void unget(long) override { --cursor_; }

private:
    const CharT* cursor_;
};

class NarrowStreamSource final : public InputSource<char> {
public:
    explicit NarrowStreamSource(Stream& s) : stream_(s) {}
    long get() override { return stream_.get_narrow(); }
    void unget(long c) override { stream_.unget_narrow(c); }

private:
    Stream& stream_;
};

class WideStreamSource final : public InputSource<wchar_t> {
public:
    explicit WideStreamSource(Stream& s) : stream_(s) {}
    long get() override { return stream_.get_wide(); }
    void unget(long c) override { stream_.unget_wide(c); }

private:
    Stream& stream_;
};

template <typename CharT>
int format_to_buffer(CharT* buffer, const CharT* format, va_list args) {
    if (!buffer || !format) {
        errno = EINVAL;
        return -1;
    }
    BufferSink<CharT> sink(buffer);
    int n = vformat(sink, format, args);
    sink.terminate();
    return n;
}

template <typename CharT>
int scan_string(const CharT* text, const CharT* format, va_list args) {
    if (!text || !format) {
        errno = EINVAL;
        return -1;
    }
    StringSource<CharT> source(text);
    return vscan(source, format, args);
}

template <typename CharT>
double parse_with_end(const CharT* text, CharT** end) {
    if (!text) {
        errno = EINVAL;
        if (end) *end = nullptr;
        return 0.0;
    }
    FloatParse r = parse_double(text);
    if (r.range_error) errno = ERANGE;
    if (end) *end = const_cast<CharT*>(text + r.consumed);
    return r.value;
}

template <typename CharT>
void* open_stream(const CharT* name, const CharT* mode) {
    if (!name || !mode) {
        errno = EINVAL;
        return nullptr;
    }
    std::optional<StreamMode> parsed = parse_stream_mode(mode);
    if (!parsed) {
        errno = EINVAL;
        return nullptr;
    }
    std::unique_ptr<RawFile> file = open_raw_file(name, parsed->open);
    if (!file) return nullptr;
    std::unique_ptr<Stream> stream = Stream::attach(std::move(file), *parsed);
    if (!stream) return nullptr;
    return g_streams.add(std::move(stream));
}

int close_stream(void* handle) {
    std::unique_ptr<Stream> stream = g_streams.remove(handle);
    if (!stream) {
        errno = EINVAL;
        return EOF;
    }
    return stream->close() == 0 ? 0 : EOF;
}

int seek_stream(void* handle, long offset, int origin) {
    Stream* s = find_stream(handle);
    return s ? s->seek(offset, origin) : -1;
}

long tell_stream(void* handle) {
    Stream* s = find_stream(handle);
    if (!s) return -1;
    long long position = s->tell();
    if (position > LONG_MAX) {
        errno = EOVERFLOW;
        return -1;
    }
    return static_cast<long>(position);
}

}  // namespace
}  // namespace numerio

using namespace numerio;

extern "C" {

int sprintf_CL(char* buffer, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int n = format_to_buffer(buffer, format, args);
    va_end(args);
    return n;
}

int _stprintf_CL(wchar_t* buffer, const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    int n = format_to_buffer(buffer, format, args);
    va_end(args);
    return n;
}

int fprintf_CL(void* stream, const char* format, ...) {
    Stream* s = find_stream(stream);
    if (!s || !format) {
        errno = EINVAL;
        return -1;
    }
    NarrowStreamSink sink(*s);
    va_list args;
    va_start(args, format);
    int n = vformat(sink, format, args);
    va_end(args);
    return n;
}

int fwprintf_CL(void* stream, const wchar_t* format, ...) {
    Stream* s = find_stream(stream);
    if (!s || !format) {
        errno = EINVAL;
        return -1;
    }
    WideStreamSink sink(*s);
    va_list args;
    va_start(args, format);
    int n = vformat(sink, format, args);
    va_end(args);
    return n;
}

int sscanf_CL(const char* text, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int n = scan_string(text, format, args);
    va_end(args);
    return n;
}

int swscanf_CL(const wchar_t* text, const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    int n = scan_string(text, format, args);
    va_end(args);
    return n;
}

int fscanf_CL(void* stream, const char* format, ...) {
    Stream* s = find_stream(stream);
    if (!s || !format) {
        errno = EINVAL;
        return EOF;
    }
    NarrowStreamSource source(*s);
    va_list args;
    va_start(args, format);
    int n = vscan(source, format, args);
    va_end(args);
    return n;
}

int fwscanf_CL(void* stream, const wchar_t* format, ...) {
    Stream* s = find_stream(stream);
    if (!s || !format) {
        errno = EINVAL;
        return EOF;
    }
    WideStreamSource source(*s);
    va_list args;
    va_start(args, format);
    int n = vscan(source, format, args);
    va_end(args);
    return n;
}

double strtod_CL(const char* text, char** end) { return parse_with_end(text, end); }
double wcstod_CL(const wchar_t* text, wchar_t** end) { return parse_with_end(text, end); }
double atof_CL(const char* text) { return parse_with_end<char>(text, nullptr); }
double _wtof_CL(const wchar_t* text) { return parse_with_end<wchar_t>(text, nullptr); }

void* fopen_CL(const char* name, const char* mode) { return open_stream(name, mode); }
void* _tfopen_CL(const wchar_t* name, const wchar_t* mode) { return open_stream(name, mode); }
int fclose_CL(void* stream) { return close_stream(stream); }
int _tfclose_CL(void* stream) { return close_stream(stream); }
int fseek_CL(void* stream, long offset, int origin) { return seek_stream(stream, offset, origin); }
int _tfseek_CL(void* stream, long offset, int origin) { return seek_stream(stream, offset, origin); }
long ftell_CL(void* stream) { return tell_stream(stream); }
long _tftell_CL(void* stream) { return tell_stream(stream); }

}  // extern "C"
