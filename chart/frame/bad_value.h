// Numbers at or beyond these limits, and not-a-number, mark missing values.
#pragma once

namespace lmc32 {

inline constexpr double kMaxGoodValue = 9.9999e19;
inline constexpr double kMinGoodValue = -9.9999e19;
inline constexpr double kBadValueMarker = 1e20;

inline bool IsBadValue(double value, double maxValue = kMaxGoodValue, double minValue = kMinGoodValue) {
    // Written so that a NaN, which fails every comparison, is bad.
    return !(value < maxValue && value > minValue);
}

}  // namespace lmc32
