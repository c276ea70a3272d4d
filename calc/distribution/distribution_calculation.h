#pragma once

#include "core/calc_outcome.h"
#include "core/calc_record.h"
#include "core/number_text.h"

#include <QString>

#include <optional>

// The four boxes of the distribution window, in the order they are read.
struct DistributionTexts {
    QString CBL; // txtCBL: principal NAV
    QString NBL; // txtNBL: NAV after the distribution
    QString Div; // txtDiv: distribution on the whole holding
    QString OA;  // txtOA: units held
};

// Box indices in reading order, as CalcOutcome::box reports them.
enum DistributionBox { BoxCBL = 0, BoxNBL = 1, BoxDiv = 2, BoxOA = 3 };

// Reads CBL, NBL, Div and OA into the record (a refused box stops the reading; the
// boxes before it keep their new values), tests them for zero in that order (codes 5
// to 8 in ErrNo), then works out TaxableDiv and Tax. Those two are written only when
// the whole calculation succeeds.
//
// When the NAV after the distribution is below the principal NAV, the part of the
// distribution up to the amount by which the holding stands below its principal is
// a return of principal and not taxed; the rest is. A distribution of zero or less
// is taxable as a whole.
[[nodiscard]] CalcOutcome runDistribution(CalcRecord& record, const DistributionTexts& texts,
                                          const NumberFormat& format);

// The statement's five figures, top to bottom, as they are shown.
struct DistributionFigures {
    QString taxable;        // lblDiv1: TaxableDiv
    QString nonTaxable;     // lblDiv2: Div - TaxableDiv
    QString tax;            // lblTax: Tax
    QString net;            // lblDiv3: Div - Tax
    QString principalAfter; // lblCBL: the smaller of CBL and NBL
};

// The figures, or the caption of the first one that does not fit an Integer.
struct DistributionStatement {
    std::optional<DistributionFigures> figures;
    QString overflowFigure;
};

[[nodiscard]] DistributionStatement distributionStatement(const CalcRecord& record);
