// The scanf engine: the C standard's conversion language in the "C" locale.
#pragma once

#include <cstdarg>

#include "text_io.h"

namespace numerio {

// Reads from `in` as `format` directs, storing through the pointers in
// `args`. Returns the number of assigned conversions, or EOF (-1) when the
// input ends (or fails) before the first conversion is complete. errno is
// EINVAL for a null format, ERANGE when a floating value was out of range.
//
// In the narrow form "%s"/"%c"/"%[" store narrow text and "%S"/"%C" wide
// text; in the wide form it is the other way round; "%hs" is always narrow,
// "%ls"/"%ws" always wide.
int vscan(InputSource<char>& in, const char* format, va_list args);
int vscan(InputSource<wchar_t>& in, const wchar_t* format, va_list args);

}  // namespace numerio
