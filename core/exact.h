#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <cstddef>
#include <cstdint>

// Exact arithmetic for the figures that never pass through binary floating point: one
// 128-bit integer for the intermediates, one rounded division, one vocabulary of
// roundings with the names the working gives them, and one decimal printer.

__extension__ using Wide = __int128;

// How a quotient becomes a whole number.
enum class Rounding {
    Down,     // 切り捨て: the greatest whole number not above
    Up,       // 切り上げ: the least whole number not below
    HalfUp,   // 四捨五入: the nearest, a half up
    HalfEven, // 偶数丸め: the nearest, a half to the even one
};

inline constexpr std::array<QStringView, 4> kRoundingNames{u"切り捨て", u"切り上げ", u"四捨五入", u"偶数丸め"};

// The rounding as the working names it.
[[nodiscard]] inline QString roundingName(Rounding rounding)
{
    return kRoundingNames[static_cast<std::size_t>(rounding)].toString();
}

// n ÷ d, rounded as named; d is not 0.
[[nodiscard]] Wide divide(Wide n, Wide d, Rounding rounding);

// n ÷ d in plain decimal: at most `places` decimals, no trailing zeros, and "…" after
// the last when the quotient goes on. d is not 0.
[[nodiscard]] QString decimalText(Wide n, Wide d, int places);

// A number held exactly with `Places` decimals: the value times 10^Places.
template <int Places>
struct Exact {
    static constexpr Wide kScale = [] {
        Wide scale = 1;
        for (int i = 0; i < Places; ++i)
            scale *= 10;
        return scale;
    }();
    Wide raw = 0;

    static constexpr Exact ofWhole(std::int64_t whole) { return {Wide{whole} * kScale}; }
    friend constexpr bool operator==(Exact, Exact) = default;
};

// NAV times units, as a Currency's four decimals but in 128 bits: in the wide range a
// worth whose product overflows 64 bits (10,000 × 100,000,000,000) is still exact.
using NavTimesUnits = Exact<4>;
// Yen with eight decimals: units × a price per 10,000 units with four decimals, held
// unrounded until a step rounds it. The same number as a NAV × units, read as yen.
using ExactYen = Exact<8>;

// Plain decimal, no trailing zeros.
template <int Places>
[[nodiscard]] QString workingText(Exact<Places> value)
{
    return decimalText(value.raw, Exact<Places>::kScale, Places);
}

// A rate held exactly, in thousandths of a percent: 15.315 % is 15315.
struct DecimalRate {
    std::int64_t milliPercent;
};
inline constexpr std::int64_t kMilliPercentScale = 100000; // a rate of 100 %

// A rate as the working writes it: 15.315, 0.3.
[[nodiscard]] inline QString percentText(DecimalRate rate) { return decimalText(rate.milliPercent, 1000, 3); }
