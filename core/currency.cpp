#include "currency.h"

#include <cmath>

std::optional<Currency> Currency::fromDouble(double value)
{
    const double scaled = std::nearbyint(value * 10000.0);
    // 2^63 is exactly representable; every finite double below it converts safely.
    constexpr double kLimit = 9223372036854775808.0;
    if (!std::isfinite(scaled) || scaled < -kLimit || scaled >= kLimit)
        return std::nullopt;
    return Currency(static_cast<std::int64_t>(scaled));
}

std::int64_t Currency::floorWhole() const
{
    std::int64_t whole = raw_ / kScale;
    if (raw_ % kScale != 0 && raw_ < 0)
        --whole;
    return whole;
}

std::optional<Currency> multiply(Integer factor, Currency value)
{
    std::int64_t product = 0;
    if (__builtin_mul_overflow(std::int64_t{factor}, value.raw(), &product))
        return std::nullopt;
    return Currency::fromRaw(product);
}
