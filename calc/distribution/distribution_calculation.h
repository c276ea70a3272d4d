#pragma once

#include "distribution_declaration.h"

#include "calc/box_reading.h"
#include "calc/calc_outcome.h"
#include "core/calc_record.h"
#include "core/number_text.h"

// Reads CBL, NBL, Div and OA into the record (a refused box stops the reading; the
// boxes before it keep their new values), tests them for zero in that order (codes 5
// to 8 in ErrNo), then works out TaxableDiv and Tax. Those two are written only when
// the whole calculation succeeds.
//
// When the NAV after the distribution is below the principal NAV, the part of the
// distribution up to the amount by which the holding stands below its principal is
// a return of principal and not taxed; the rest is. A distribution of zero or less
// is taxable as a whole.
[[nodiscard]] CalcOutcome<> runDistribution(CalcRecord& record, const BoxTexts& texts,
                                          const NumberFormat& format, Trace* trace = nullptr);

// The statement's five figures from the record, or the first that does not fit.
[[nodiscard]] CalcOutcome<DistributionFigures> distributionStatement(const CalcRecord& record,
                                                                Trace* trace = nullptr);

// The calculation, then its statement; a trace ends with the statement's figures.
[[nodiscard]] CalcOutcome<DistributionFigures> calculateDistribution(CalcRecord& record,
                                                                const BoxTexts& texts,
                                                                const NumberFormat& format,
                                                                Trace* trace = nullptr);
