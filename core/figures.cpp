#include "figures.h"

#include <cmath>

std::optional<std::int64_t> floorToWhole(double value)
{
    const double floored = std::floor(value);
    constexpr double kLimit = 9223372036854775808.0;
    if (!std::isfinite(floored) || floored < -kLimit || floored >= kLimit)
        return std::nullopt;
    return static_cast<std::int64_t>(floored);
}

QString figureText(std::int64_t value)
{
    // QString::number uses the C locale: no group separators, ASCII "-".
    return QString::number(value);
}
