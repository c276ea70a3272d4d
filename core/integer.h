#pragma once

#include <cstdint>
#include <optional>

// The program's whole numbers: signed 16-bit. Every amount of money, every NAV and
// every fee or tax lives in this range; leaving it is an error value, never a wrap.
using Integer = std::int16_t;

inline constexpr std::int32_t kIntegerMin = -32768;
inline constexpr std::int32_t kIntegerMax = 32767;

// A wide value as an Integer, or nothing when it does not fit.
[[nodiscard]] std::optional<Integer> integerFromWide(std::int64_t value);

// Sum and difference of two Integers, formed wide and range-checked.
[[nodiscard]] std::optional<Integer> checkedAdd(Integer a, Integer b);
[[nodiscard]] std::optional<Integer> checkedSubtract(Integer a, Integer b);

// Round to the nearest whole number, ties to the even neighbour, then range-check.
// NaN and infinities give nothing.
[[nodiscard]] std::optional<Integer> roundToInteger(double value);
