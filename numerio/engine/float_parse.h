// strtod in the "C" locale: decimal and hexadecimal floating-point text,
// infinities and NaNs, correctly rounded to the nearest double.
#pragma once

#include <cstddef>

namespace numerio {

struct FloatParse {
    double value = 0.0;
    // Characters taken from the text, leading white space included; 0 when
    // the text does not start with a number (value is then 0).
    std::size_t consumed = 0;
    // The value overflowed to an infinity or underflowed (zero or subnormal
    // result of a non-zero number): strtod's ERANGE.
    bool range_error = false;
};

// `text` is zero-terminated.
FloatParse parse_double(const char* text);
FloatParse parse_double(const wchar_t* text);

// The same, with the value rounded once, straight to float: rounding to
// double first and then to float can land on the wrong side of a float
// halfway point. The scanf engine uses it for "%f" into a float.
FloatParse parse_single(const char* text);

}  // namespace numerio
