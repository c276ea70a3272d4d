#include "fund_rules.h"

std::optional<double> holdingValue(Integer nav, Currency units)
{
    const std::optional<Currency> product = multiply(nav, units);
    if (!product)
        return std::nullopt;
    return product->toDouble() / kUnitsPerNav;
}
