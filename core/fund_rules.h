#pragma once

#include "currency.h"
#include "integer.h"

#include <optional>

// A NAV is the price of this many units.
inline constexpr double kUnitsPerNav = 10000.0;
// The share of a gain or of a taxable distribution withheld as tax.
inline constexpr double kTaxRate = 0.2;
// Rates are typed in percent.
inline constexpr double kPercent = 100.0;

// The value of a holding in yen: NAV x units formed exactly, then as a double / 10,000.
// Nothing when the product leaves the Currency range.
[[nodiscard]] std::optional<double> holdingValue(Integer nav, Currency units);
