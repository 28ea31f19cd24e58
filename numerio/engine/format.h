// The printf engine: the C standard's conversion language, always in the
// "C" locale, with correctly rounded floating-point output.
#pragma once

#include <cstdarg>

#include "text_io.h"

namespace numerio {

// Formats `format` with `args` into `out`. Returns the number of characters
// produced, or -1 with errno set: EILSEQ when a wide character has no narrow
// form (or a narrow one no wide form), EOVERFLOW when the count exceeds
// INT_MAX, EINVAL for a null format. When the sink refuses output the errno
// it set stands (a stream's EILSEQ or EINVAL), or EIO if it set none.
//
// In the narrow form "%s"/"%c" take narrow arguments and "%S"/"%C" wide ones;
// in the wide form it is the other way round. "%hs"/"%hc" are always narrow,
// "%ls"/"%lc"/"%ws"/"%wc" always wide.
int vformat(OutputSink<char>& out, const char* format, va_list args);
int vformat(OutputSink<wchar_t>& out, const wchar_t* format, va_list args);

}  // namespace numerio
