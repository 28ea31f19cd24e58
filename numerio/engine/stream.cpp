#include "stream.h"

#include <cerrno>
#include <cstring>
#include <cwchar>

namespace numerio {
namespace {

constexpr long kReplacement = 0xFFFD;
constexpr bool kWideIs16Bit = sizeof(wchar_t) == 2;

template <typename CharT>
CharT lower_ascii(CharT c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<CharT>(c - 'A' + 'a') : c;
}

// Case-insensitive comparison of a mode's text with an ASCII word.
template <typename CharT>
bool equals_ascii_nocase(const CharT* text, std::size_t length, const char* word) {
    if (std::strlen(word) != length) return false;
    for (std::size_t i = 0; i < length; ++i)
        if (lower_ascii(text[i]) != static_cast<CharT>(lower_ascii(word[i]))) return false;
    return true;
}

template <typename CharT>
std::optional<StreamMode> parse_mode(const CharT* mode) {
    if (!mode) return std::nullopt;
    StreamMode m;
    switch (*mode) {
    case 'r':
        m.open.read = true;
        break;
    case 'w':
        m.open.write = m.open.create = m.open.truncate = true;
        break;
    case 'a':
        m.open.write = m.open.create = m.append = true;
        break;
    default:
        return std::nullopt;
    }
    bool plus = false, binary = false, text = false;
    const CharT* p = mode + 1;
    for (; *p && *p != ','; ++p) {
        switch (*p) {
        case '+':
            if (plus) return std::nullopt;
            plus = true;
            m.open.read = m.open.write = true;
            break;
        case 'b':
            if (binary || text) return std::nullopt;
            binary = true;
            break;
        case 't':
            if (binary || text) return std::nullopt;
            text = true;
            break;
        case 'x':
            if (*mode != 'w') return std::nullopt;
            m.open.exclusive = true;
            break;
        case 'D':
            m.open.delete_on_close = true;
            break;
        // Caching and commit hints of the platform's runtime: no effect here.
        case 'c': case 'n': case 'N': case 'S': case 'R': case 'T':
            break;
        case ' ':
            break;
        default:
            return std::nullopt;
        }
    }
    m.text = !binary;
    if (*p == ',') {
        ++p;
        while (*p == ' ') ++p;
        if (!equals_ascii_nocase(p, 4, "ccs=") || binary) return std::nullopt;
        p += 4;
        std::size_t length = 0;
        while (p[length] && p[length] != ' ') ++length;
        if (equals_ascii_nocase(p, length, "utf-8")) {
            m.encoding = StreamEncoding::kUtf8;
        } else if (equals_ascii_nocase(p, length, "utf-16le")) {
            m.encoding = StreamEncoding::kUtf16le;
        } else if (equals_ascii_nocase(p, length, "unicode")) {
            m.encoding = StreamEncoding::kUtf16le;
            m.encoding_from_bom = true;
        } else {
            return std::nullopt;
        }
        p += length;
        while (*p == ' ') ++p;
        if (*p) return std::nullopt;
    }
    return m;
}

}  // namespace

std::optional<StreamMode> parse_stream_mode(const char* mode) { return parse_mode(mode); }
std::optional<StreamMode> parse_stream_mode(const wchar_t* mode) { return parse_mode(mode); }

Stream::Stream(std::unique_ptr<RawFile> file, const StreamMode& mode)
    : file_(std::move(file)), mode_(mode), encoding_(mode.encoding) {}

Stream::~Stream() { close(); }

std::unique_ptr<Stream> Stream::attach(std::unique_ptr<RawFile> file, const StreamMode& mode) {
    std::unique_ptr<Stream> s(new Stream(std::move(file), mode));
    bool unicode = mode.encoding != StreamEncoding::kBytes || mode.encoding_from_bom;
    if (!unicode) return s;

    long long size = s->file_->seek(0, 2);
    if (size < 0 || s->file_->seek(0, 0) < 0) return nullptr;
    long long start = 0;
    if (size == 0) {
        // A new Unicode file starts with its byte-order mark.
        if (mode.open.write) {
            static constexpr unsigned char kUtf8Bom[] = {0xEF, 0xBB, 0xBF};
            static constexpr unsigned char kUtf16Bom[] = {0xFF, 0xFE};
            bool ok = s->encoding_ == StreamEncoding::kUtf8 ? s->file_->write(kUtf8Bom, 3)
                                                            : s->file_->write(kUtf16Bom, 2);
            if (!ok) return nullptr;
            start = s->encoding_ == StreamEncoding::kUtf8 ? 3 : 2;
        } else if (mode.encoding_from_bom) {
            s->encoding_ = StreamEncoding::kBytes;
        }
    } else {
        unsigned char head[3] = {};
        long long got = mode.open.read ? s->file_->read(head, 3) : 0;
        if (got >= 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF) {
            s->encoding_ = StreamEncoding::kUtf8;
            start = 3;
        } else if (got >= 2 && head[0] == 0xFF && head[1] == 0xFE) {
            s->encoding_ = StreamEncoding::kUtf16le;
            start = 2;
        } else if (mode.encoding_from_bom && mode.open.read) {
            // Without a mark, "ccs=UNICODE" reads the file as bytes.
            s->encoding_ = StreamEncoding::kBytes;
        }
    }
    if (s->file_->seek(start, 0) < 0) return nullptr;
    s->raw_position_ = start;
    return s;
}

bool Stream::flush() {
    if (direction_ != Direction::kWriting || pos_ == 0) return !failed_;
    bool ok = file_->write(buffer_, pos_);
    raw_position_ += static_cast<long long>(pos_);
    pos_ = 0;
    if (!ok) failed_ = true;
    return ok;
}

bool Stream::leave_reading() {
    long long logical = tell();
    pos_ = end_ = 0;
    pushed_back_ = pending_low_surrogate_ = -1;
    pushed_back_raw_length_ = 0;
    direction_ = Direction::kNone;
    if (logical < 0 || file_->seek(logical, 0) < 0) return false;
    raw_position_ = logical;
    return true;
}

bool Stream::write_raw(const void* data, std::size_t count) {
    if (direction_ == Direction::kReading && !leave_reading()) return false;
    if (direction_ == Direction::kNone) {
        if (mode_.append) {
            long long at_end = file_->seek(0, 2);
            if (at_end < 0) return false;
            raw_position_ = at_end;
        }
        direction_ = Direction::kWriting;
        pos_ = 0;
    }
    auto* bytes = static_cast<const unsigned char*>(data);
    if (pos_ + count > kBufferSize) {
        if (!flush()) return false;
        if (count >= kBufferSize) {
            if (!file_->write(bytes, count)) {
                failed_ = true;
                return false;
            }
            raw_position_ += static_cast<long long>(count);
            return true;
        }
    }
    std::memcpy(buffer_ + pos_, bytes, count);
    pos_ += count;
    return true;
}

bool Stream::write_translated_byte(unsigned char b) {
    if (mode_.text && b == '\n') return write_raw("\r\n", 2);
    return write_raw(&b, 1);
}

bool Stream::write_narrow(const char* text, std::size_t count) {
    if (holds_unicode()) {
        errno = EINVAL;
        return false;
    }
    if (!mode_.open.write) {
        errno = EBADF;
        return false;
    }
    if (!mode_.text) return write_raw(text, count);
    // Line ends become "\r\n"; the runs between them go out whole.
    while (count > 0) {
        auto* newline = static_cast<const char*>(std::memchr(text, '\n', count));
        std::size_t run = newline ? static_cast<std::size_t>(newline - text) : count;
        if (run > 0 && !write_raw(text, run)) return false;
        if (!newline) break;
        if (!write_raw("\r\n", 2)) return false;
        text += run + 1;
        count -= run + 1;
    }
    return true;
}

bool Stream::write_wide(const wchar_t* text, std::size_t count) {
    if (!mode_.open.write) {
        errno = EBADF;
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        unsigned long c = static_cast<unsigned long>(text[i]);
        if constexpr (kWideIs16Bit) c &= 0xFFFF;
        switch (encoding_) {
        case StreamEncoding::kBytes:
            if (c > 0xFF) {
                errno = EILSEQ;
                return false;
            }
            if (!write_translated_byte(static_cast<unsigned char>(c))) return false;
            break;
        case StreamEncoding::kUtf8: {
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < count) {
                unsigned long low = static_cast<unsigned long>(text[i + 1]) & 0xFFFF;
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                    ++i;
                }
            }
            if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = kReplacement;
            unsigned char out[4];
            std::size_t n;
            if (c < 0x80) {
                if (!write_translated_byte(static_cast<unsigned char>(c))) return false;
                break;
            } else if (c < 0x800) {
                out[0] = static_cast<unsigned char>(0xC0 | (c >> 6));
                n = 1;
            } else if (c < 0x10000) {
                out[0] = static_cast<unsigned char>(0xE0 | (c >> 12));
                out[1] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
                n = 2;
            } else {
                out[0] = static_cast<unsigned char>(0xF0 | (c >> 18));
                out[1] = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
                out[2] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
                n = 3;
            }
            out[n++] = static_cast<unsigned char>(0x80 | (c & 0x3F));
            if (!write_raw(out, n)) return false;
            break;
        }
        case StreamEncoding::kUtf16le: {
            auto put_unit = [this](unsigned long u) {
                unsigned char out[2] = {static_cast<unsigned char>(u & 0xFF),
                                        static_cast<unsigned char>(u >> 8)};
                return write_raw(out, 2);
            };
            bool ok;
            if (mode_.text && c == '\n') {
                ok = put_unit('\r') && put_unit('\n');
            } else if (c > 0xFFFF) {
                c = c > 0x10FFFF ? kReplacement : c;
                ok = c > 0xFFFF ? put_unit(0xD800 + ((c - 0x10000) >> 10)) &&
                                      put_unit(0xDC00 + ((c - 0x10000) & 0x3FF))
                                : put_unit(c);
            } else {
                ok = put_unit(c);
            }
            if (!ok) return false;
            break;
        }
        }
    }
    return true;
}

long Stream::read_raw_byte() {
    if (direction_ == Direction::kWriting) {
        if (!flush()) return -1;
        direction_ = Direction::kNone;
    }
    if (direction_ == Direction::kNone) {
        direction_ = Direction::kReading;
        pos_ = end_ = 0;
    }
    if (pos_ == end_) {
        long long n = file_->read(buffer_, kBufferSize);
        if (n <= 0) {
            if (n < 0) failed_ = true;
            return -1;
        }
        pos_ = 0;
        end_ = static_cast<std::size_t>(n);
        raw_position_ += n;
    }
    return buffer_[pos_++];
}

long Stream::get_translated_byte() {
    long b = read_raw_byte();
    if (b < 0) return -1;
    last_raw_length_ = 1;
    if (mode_.text && b == '\r') {
        long next = read_raw_byte();
        if (next == '\n') {
            last_raw_length_ = 2;
            return '\n';
        }
        // The byte after a lone "\r" was read from the current buffer, so
        // it can be given back there.
        if (next >= 0) --pos_;
    }
    return b;
}

long Stream::decode_wide() {
    switch (encoding_) {
    case StreamEncoding::kBytes:
        return get_translated_byte();
    case StreamEncoding::kUtf8: {
        long b0 = get_translated_byte();
        if (b0 < 0x80) return b0;
        std::size_t raw = last_raw_length_;
        int extra = b0 >= 0xF0 && b0 <= 0xF4 ? 3 : b0 >= 0xE0 ? 2 : b0 >= 0xC2 && b0 < 0xE0 ? 1 : -1;
        if (extra < 0) return kReplacement;
        unsigned long cp = static_cast<unsigned long>(b0) & (0x3F >> extra);
        for (int i = 0; i < extra; ++i) {
            long b = read_raw_byte();
            if (b < 0) {
                last_raw_length_ = raw;
                return kReplacement;
            }
            if ((b & 0xC0) != 0x80) {
                --pos_;
                last_raw_length_ = raw;
                return kReplacement;
            }
            ++raw;
            cp = (cp << 6) | (static_cast<unsigned long>(b) & 0x3F);
        }
        last_raw_length_ = raw;
        static constexpr unsigned long kSmallest[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kSmallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kReplacement;
        if (kWideIs16Bit && cp > 0xFFFF) {
            pending_low_surrogate_ = static_cast<long>(0xDC00 + ((cp - 0x10000) & 0x3FF));
            return static_cast<long>(0xD800 + ((cp - 0x10000) >> 10));
        }
        return static_cast<long>(cp);
    }
    case StreamEncoding::kUtf16le: {
        auto read_unit = [this]() -> long {
            long lo = read_raw_byte();
            if (lo < 0) return -1;
            long hi = read_raw_byte();
            if (hi < 0) return -1;
            return lo | (hi << 8);
        };
        long unit = read_unit();
        if (unit < 0) return -1;
        last_raw_length_ = 2;
        if (mode_.text && unit == '\r') {
            long next = read_unit();
            if (next == '\n') {
                last_raw_length_ = 4;
                return '\n';
            }
            if (next >= 0) {
                // Not a line end: the unit after "\r" waits its turn, and
                // tell() counts its two bytes as unread.
                pushed_back_ = next;
                pushed_back_raw_length_ = 2;
            }
        }
        return unit;
    }
    }
    return -1;
}

long Stream::get_narrow() {
    if (holds_unicode()) {
        errno = EINVAL;
        return -1;
    }
    if (!mode_.open.read) {
        errno = EBADF;
        return -1;
    }
    if (pushed_back_ >= 0) {
        long c = pushed_back_;
        last_raw_length_ = pushed_back_raw_length_;
        pushed_back_ = -1;
        pushed_back_raw_length_ = 0;
        return c;
    }
    return get_translated_byte();
}

long Stream::get_wide() {
    if (!mode_.open.read) {
        errno = EBADF;
        return -1;
    }
    if (pushed_back_ >= 0) {
        long c = pushed_back_;
        last_raw_length_ = pushed_back_raw_length_;
        pushed_back_ = -1;
        pushed_back_raw_length_ = 0;
        return c;
    }
    if (pending_low_surrogate_ >= 0) {
        long c = pending_low_surrogate_;
        pending_low_surrogate_ = -1;
        last_raw_length_ = 0;
        return c;
    }
    return decode_wide();
}

void Stream::push_back(long c) {
    if (c < 0) return;
    if (pushed_back_ >= 0) {
        // Only one character of pushback: the older one is already counted
        // by the position and simply stays consumed.
        return;
    }
    pushed_back_ = c;
    pushed_back_raw_length_ = last_raw_length_;
}

void Stream::unget_narrow(long c) { push_back(c); }
void Stream::unget_wide(long c) { push_back(c); }

long long Stream::tell() {
    switch (direction_) {
    case Direction::kWriting:
        return raw_position_ + static_cast<long long>(pos_);
    case Direction::kReading:
        return raw_position_ - static_cast<long long>(end_ - pos_) -
               static_cast<long long>(pushed_back_raw_length_);
    case Direction::kNone:
        break;
    }
    return raw_position_;
}

int Stream::seek(long long offset, int origin) {
    if (origin < 0 || origin > 2) {
        errno = EINVAL;
        return -1;
    }
    if (!flush()) return -1;
    long long base = 0;
    if (origin == 1) {
        base = tell();
    } else if (origin == 2) {
        base = file_->seek(0, 2);
        if (base < 0) return -1;
    }
    long long target = base + offset;
    if (target < 0) {
        errno = EINVAL;
        return -1;
    }
    if (file_->seek(target, 0) < 0) return -1;
    raw_position_ = target;
    direction_ = Direction::kNone;
    pos_ = end_ = 0;
    pushed_back_ = pending_low_surrogate_ = -1;
    pushed_back_raw_length_ = 0;
    return 0;
}

int Stream::close() {
    if (!file_) return 0;
    bool ok = flush();
    ok = file_->close() && ok;
    file_.reset();
    return ok ? 0 : -1;
}

}  // namespace numerio
