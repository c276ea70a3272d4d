#pragma once

#include <cstdint>
#include <optional>

// The program's whole numbers: every amount of money, every NAV and every fee or tax.
// They are held in 64 bits, but the range they may take belongs to the calculation
// (the record carries it); leaving that range is an error value, never a wrap.
using Integer = std::int64_t;

struct IntegerRange {
    std::int64_t min;
    std::int64_t max;

    // The windows' range: signed 16-bit.
    static constexpr IntegerRange narrow() { return {-32768, 32767}; }
    // Every whole number a double holds exactly: ±(2^53 - 1).
    static constexpr IntegerRange wide()
    {
        constexpr std::int64_t limit = (std::int64_t{1} << 53) - 1;
        return {-limit, limit};
    }

    [[nodiscard]] constexpr bool contains(std::int64_t value) const
    {
        return value >= min && value <= max;
    }
    friend constexpr bool operator==(IntegerRange, IntegerRange) = default;
};

// A value as an Integer of the range, or nothing when it does not fit.
[[nodiscard]] std::optional<Integer> integerFromWide(std::int64_t value, IntegerRange range);

// Sum and difference of two Integers, formed without overflow and range-checked.
[[nodiscard]] std::optional<Integer> checkedAdd(Integer a, Integer b, IntegerRange range);
[[nodiscard]] std::optional<Integer> checkedSubtract(Integer a, Integer b, IntegerRange range);

// Round to the nearest whole number, ties to the even neighbour, then range-check.
// NaN and infinities give nothing.
[[nodiscard]] std::optional<Integer> roundToInteger(double value, IntegerRange range);
