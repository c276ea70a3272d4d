#pragma once

// A NAV is the price of this many units.
inline constexpr double kUnitsPerNav = 10000.0;
// The share of a gain or of a taxable distribution withheld as tax.
inline constexpr double kTaxRate = 0.2;
// Rates are typed in percent.
inline constexpr double kPercent = 100.0;
