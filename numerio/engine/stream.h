// The library's own buffered streams: fopen's modes, text-mode line ends,
// the wide encodings of "ccs=", seek and tell over a RawFile.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>

#include "raw_file.h"

namespace numerio {

enum class StreamEncoding { kBytes, kUtf8, kUtf16le };

struct StreamMode {
    RawOpenRequest open;
    bool append = false;  // every write goes to the end of the file
    bool text = true;     // "\n" is "\r\n" in the file
    // Encoding of wide characters in the file; kBytes maps each wide
    // character below 256 to one byte, as the "C" locale does.
    StreamEncoding encoding = StreamEncoding::kBytes;
    bool encoding_from_bom = false;  // "ccs=UNICODE": the file's BOM decides
};

// Parses an fopen mode ("r", "w+b", "a, ccs=UTF-8", ...). Empty when the
// mode is not valid.
std::optional<StreamMode> parse_stream_mode(const char* mode);
std::optional<StreamMode> parse_stream_mode(const wchar_t* mode);

class Stream {
public:
    // Wraps an open file; writes or reads the byte-order mark that the
    // encoding asks for. Null with errno set on failure.
    static std::unique_ptr<Stream> attach(std::unique_ptr<RawFile> file, const StreamMode& mode);
    ~Stream();

    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    // Narrow characters (bytes, with text-mode line ends). Refused with
    // EINVAL on a stream that holds Unicode text.
    bool write_narrow(const char* text, std::size_t count);
    long get_narrow();  // a byte value or -1
    void unget_narrow(long c);

    // Wide characters in the stream's encoding.
    bool write_wide(const wchar_t* text, std::size_t count);
    long get_wide();  // a character value or -1
    void unget_wide(long c);

    bool holds_unicode() const { return encoding_ != StreamEncoding::kBytes; }

    int seek(long long offset, int origin);  // 0, or -1 with errno
    long long tell();                        // -1 with errno on failure
    int close();                             // 0, or -1 (EOF) on failure

private:
    Stream(std::unique_ptr<RawFile> file, const StreamMode& mode);

    bool write_raw(const void* data, std::size_t count);
    bool write_translated_byte(unsigned char b);
    bool flush();
    bool leave_reading();
    long read_raw_byte();
    long get_translated_byte();
    long decode_wide();
    void push_back(long c);

    std::unique_ptr<RawFile> file_;
    StreamMode mode_;
    StreamEncoding encoding_;

    enum class Direction { kNone, kReading, kWriting };
    Direction direction_ = Direction::kNone;
    static constexpr std::size_t kBufferSize = 4096;
    unsigned char buffer_[kBufferSize];
    std::size_t pos_ = 0;  // next byte to read, or bytes waiting to be written
    std::size_t end_ = 0;  // bytes in the buffer while reading
    long long raw_position_ = 0;  // file position of buffer_[end_] (reading) or buffer_[0] (writing)

    // The raw bytes that the last character read took, and one pushed-back
    // character, so that tell() stays exact across an unget.
    std::size_t last_raw_length_ = 0;
    long pushed_back_ = -1;
    std::size_t pushed_back_raw_length_ = 0;
    // The second half of a surrogate pair not yet returned (16-bit wchar_t).
    long pending_low_surrogate_ = -1;
    bool failed_ = false;
};

}  // namespace numerio
