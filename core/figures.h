#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// Greatest whole number not above the value; nothing when NaN, infinite or beyond 64 bits.
[[nodiscard]] std::optional<std::int64_t> floorToWhole(double value);

// A figure as a statement shows it: plain decimal digits, "-" when negative,
// no separators, no spaces, no unit.
[[nodiscard]] QString figureText(std::int64_t value);
