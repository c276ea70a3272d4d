#include "integer.h"

#include <cfenv>
#include <cmath>

std::optional<Integer> integerFromWide(std::int64_t value)
{
    if (value < kIntegerMin || value > kIntegerMax)
        return std::nullopt;
    return static_cast<Integer>(value);
}

std::optional<Integer> checkedAdd(Integer a, Integer b)
{
    return integerFromWide(std::int64_t{a} + std::int64_t{b});
}

std::optional<Integer> checkedSubtract(Integer a, Integer b)
{
    return integerFromWide(std::int64_t{a} - std::int64_t{b});
}

std::optional<Integer> roundToInteger(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    // nearbyint follows the current rounding mode, which the program never changes
    // from round-to-nearest-even.
    const double rounded = std::nearbyint(value);
    if (rounded < kIntegerMin || rounded > kIntegerMax)
        return std::nullopt;
    return static_cast<Integer>(rounded);
}
