#pragma once

// A NAV is the price of this many units.
inline constexpr double kUnitsPerNav = 10000.0;
// The share of a gain or of a taxable distribution withheld as tax.
inline constexpr double kTaxRate = 0.2;
// Rates are typed in percent.
inline constexpr double kPercent = 100.0;

// The tax rules a calculation follows. The windows keep the rules they were built with
// (a flat 0.2, ties to even; the smaller NAV as the principal afterwards); `Current` is
// today's law. In a NISA account nothing is taxed under either.
enum class RuleSet { Windows, Current };
struct TaxRules {
    RuleSet set = RuleSet::Windows;
    bool nisa = false;
};

