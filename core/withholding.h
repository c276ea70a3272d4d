#pragma once

#include "tax_law.h"
#include "worksheet.h"

#include <QStringView>

// The two taxes withheld on one base, each floored to the yen.
struct Withheld {
    Term<Integer> income;   // 所得税 (with 復興特別所得税)
    Term<Integer> resident; // 住民税
};

// How a working names the two steps, and the figures they belong to.
struct WithholdingSteps {
    QStringView incomeFigure;
    QStringView income;
    QStringView residentFigure;
    QStringView resident;
};

// The withholding on `base` under `law`, as two steps of the worksheet: the one step that
// a calculator's current rules, a distribution, a gain and the year-end settlement take.
[[nodiscard]] Withheld withhold(Worksheet& ws, const Term<Integer>& base, const TaxYears& law,
                                const WithholdingSteps& steps);
// The same worked out only for reference, without lines of its own.
[[nodiscard]] Withheld withholdAside(const Worksheet& ws, const Term<Integer>& base, const TaxYears& law);
