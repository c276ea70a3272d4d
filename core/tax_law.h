#pragma once

#include "exact.h"

#include <QString>
#include <QStringView>

#include <array>
#include <limits>

// The tax withheld on an investment trust's gains and distributions, by the calendar
// year of the 受渡日: two taxes on the same base, each floored to the yen.
struct TaxYears {
    int first;                 // the first year the row holds for
    int last;                  // and the last
    QStringView incomeTaxName; // 所得税, with 復興特別所得税 from 2013 to 2037
    DecimalRate income;        // its rate
    DecimalRate resident;      // 住民税's
    bool dividendNetting;      // whether a 特定口座 sets 配当 against the year's 譲渡損失
};

inline constexpr std::array<TaxYears, 5> kTaxLaw{{
    {2009, 2009, u"所得税", {7000}, {3000}, false},
    {2010, 2012, u"所得税", {7000}, {3000}, true},
    {2013, 2013, u"所得税及び復興特別所得税", {7147}, {3000}, true},
    {2014, 2037, u"所得税及び復興特別所得税", {15315}, {5000}, true},
    {2038, std::numeric_limits<int>::max(), u"所得税", {15000}, {5000}, true},
}};

// The row in force in `year`; none before the first.
[[nodiscard]] constexpr const TaxYears* taxLawOf(int year)
{
    for (const TaxYears& row : kTaxLaw) {
        if (year >= row.first && year <= row.last)
            return &row;
    }
    return nullptr;
}

// The year whose law the calculators' current rules apply: fixed, so that a calculation
// gives the same figures whatever the clock says.
inline constexpr int kCurrentTaxYear = 2026;
[[nodiscard]] constexpr const TaxYears& currentTaxLaw() { return *taxLawOf(kCurrentTaxYear); }

// Each tax with its rate, as help and headings print them: "所得税及び復興特別所得税 15.315 %",
// "住民税 5 %".
[[nodiscard]] QString incomeTaxText(const TaxYears& law);
[[nodiscard]] QString residentTaxText(const TaxYears& law);
