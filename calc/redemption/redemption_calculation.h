#pragma once

#include "redemption_declaration.h"

#include "calc/box_reading.h"
#include "calc/calc_outcome.h"
#include "core/calc_record.h"
#include "core/number_text.h"

// Reads the boxes into CBL, NBL, OA and RetentionPercent (each stored before the next
// box is read; a refused box stops the reading), tests for a missing input (ErrNo
// "9", "10" or "11"), then forms Fee, Tax and Cash. The results are written only when
// every step succeeded; a loss is taxed at 0.
[[nodiscard]] CalcOutcome<> runRedemption(CalcRecord& record, const BoxTexts& texts,
                                          const NumberFormat& format, Trace* trace = nullptr);

// The statement's figures from the record: valuation and cash floored; or the figure
// that cannot be formed.
[[nodiscard]] CalcOutcome<RedemptionFigures> redemptionStatement(const CalcRecord& record,
                                                            Trace* trace = nullptr);

// The calculation, then its statement; a trace ends with the statement's figures.
[[nodiscard]] CalcOutcome<RedemptionFigures> calculateRedemption(CalcRecord& record,
                                                            const BoxTexts& texts,
                                                            const NumberFormat& format,
                                                            Trace* trace = nullptr);
