#include "integer.h"

#include <cmath>

std::optional<Integer> integerFromWide(std::int64_t value, IntegerRange range)
{
    if (!range.contains(value))
        return std::nullopt;
    return value;
}

std::optional<Integer> checkedAdd(Integer a, Integer b, IntegerRange range)
{
    std::int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        return std::nullopt;
    return integerFromWide(sum, range);
}

std::optional<Integer> checkedSubtract(Integer a, Integer b, IntegerRange range)
{
    std::int64_t difference = 0;
    if (__builtin_sub_overflow(a, b, &difference))
        return std::nullopt;
    return integerFromWide(difference, range);
}

std::optional<Integer> roundToInteger(double value, IntegerRange range)
{
    if (!std::isfinite(value))
        return std::nullopt;
    // nearbyint follows the current rounding mode, which the program never changes
    // from round-to-nearest-even. Both bounds of every range are exact doubles.
    const double rounded = std::nearbyint(value);
    if (rounded < static_cast<double>(range.min) || rounded > static_cast<double>(range.max))
        return std::nullopt;
    return static_cast<Integer>(rounded);
}
