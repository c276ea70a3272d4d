#pragma once

#include <cstdint>

// A NAV is the price of this many units.
inline constexpr double kUnitsPerNav = 10000.0;
// The share of a gain or of a taxable distribution withheld as tax.
inline constexpr double kTaxRate = 0.2;
// Rates are typed in percent.
inline constexpr double kPercent = 100.0;

// A rate held exactly, in thousandths of a percent: 15.315 % is 15315.
struct DecimalRate {
    std::int64_t milliPercent;
};
// Today's two taxes on a redemption gain or a taxable distribution, each floored to the yen.
inline constexpr DecimalRate kIncomeTaxRate{15315};  // 所得税及び復興特別所得税
inline constexpr DecimalRate kResidentTaxRate{5000}; // 住民税

// The tax rules a calculation follows. The windows keep the rules they were built with
// (a flat 0.2, ties to even; the smaller NAV as the principal afterwards); `Current` is
// today's law. In a NISA account nothing is taxed under either.
enum class RuleSet { Windows, Current };
struct TaxRules {
    RuleSet set = RuleSet::Windows;
    bool nisa = false;
};

