// Character sinks and sources shared by the formatting and scanning engines.
// They know nothing of files or buffers: the exported functions wrap a
// caller's buffer, a string or one of the library's streams in them.
#pragma once

#include <cstddef>

namespace numerio {

// Receives formatted output. `write` returns false when the destination
// cannot take more (a write error on a stream); the engine then stops and
// reports failure.
template <typename CharT>
class OutputSink {
public:
    virtual bool write(const CharT* text, std::size_t count) = 0;

protected:
    ~OutputSink() = default;
};

// Supplies input to the scanning engine one character at a time.
template <typename CharT>
class InputSource {
public:
    static constexpr long kEnd = -1;

    // The next character as a non-negative value (a narrow character as
    // unsigned char), or kEnd when the input is exhausted or unreadable.
    virtual long get() = 0;
    // Gives back the character last returned by get(); the engine never
    // pushes back more than one character, and never kEnd.
    virtual void unget(long c) = 0;

protected:
    ~InputSource() = default;
};

}  // namespace numerio
