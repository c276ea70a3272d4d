#pragma once

#include "core/calc_outcome.h"
#include "core/calc_record.h"
#include "core/number_text.h"

#include <QString>

// The redemption window's four boxes as typed, in reading order.
struct RedemptionTexts {
    QString CBL; // txtCBL: principal NAV
    QString NBL; // txtNBL: current NAV
    QString OA;  // txtOA: units held
    QString Fee; // txtFee: trust retention, percent
};

// Box captions in reading order, as refusal messages name them.
[[nodiscard]] QString redemptionBoxCaption(int box);

// Figure captions as the statement names them, for overflow messages.
[[nodiscard]] QString valuationCaption();
[[nodiscard]] QString taxCaption();
[[nodiscard]] QString retentionCaption();
[[nodiscard]] QString cashCaption();

// Reads the boxes into CBL, NBL, OA and RetentionPercent (each stored before the next
// box is read; a refused box stops the reading), tests for a missing input (ErrNo
// "9", "10" or "11"), then forms Fee, Tax and Cash. The results are written only when
// every step succeeded; a loss is taxed at 0.
[[nodiscard]] CalcOutcome runRedemption(CalcRecord& record, const RedemptionTexts& texts,
                                        const NumberFormat& format);

// The statement's figures as shown: valuation and cash floored, all plain decimal.
struct RedemptionFigures {
    QString IM;   // "評価額"
    QString Tax;  // "税金"
    QString Fee;  // "信託留保額"
    QString Gain; // "手取り現金"
};

// Forms the statement figures from the record; Done, or Overflow naming the figure
// that cannot be formed (then `figures` is left as it was).
[[nodiscard]] CalcOutcome formRedemptionFigures(const CalcRecord& record,
                                                RedemptionFigures& figures);
