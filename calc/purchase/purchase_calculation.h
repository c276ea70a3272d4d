#pragma once

#include "core/calc_outcome.h"
#include "core/calc_record.h"
#include "core/number_text.h"

#include <QString>

// The four boxes of the purchase window, as typed.
struct PurchaseTexts {
    QString IM;  // purchase funds
    QString FP1; // sales fee, percent
    QString FP2; // consumption tax on the fee, percent
    QString BL;  // NAV per 10,000 units
};

// The boxes in the order the calculation reads them; a refusal names one of these.
enum PurchaseBox : int { kBoxIM = 0, kBoxFP1 = 1, kBoxFP2 = 2, kBoxBL = 3 };

// The figures a fault names, as the statement captions them.
inline constexpr auto kFigureFee = u"手数料";
inline constexpr auto kFigureUnits = u"購入口数";
inline constexpr auto kFigureAmount = u"金額";
inline constexpr auto kFigureTotal = u"総投資額";

// Reads the boxes into IM, FP1, FP2 and BL (stopping at the first refused box; the
// fields read before it keep their new values), tests the required fields (a zero
// stores its code in ErrNo), then computes Rate, Fee and OA. `feePaidFromFunds` is
// the fee-coverage option's state. Rate, Fee and OA are written only when every step
// succeeded; FeeCovered is never touched.
[[nodiscard]] CalcOutcome runPurchase(CalcRecord& record, const PurchaseTexts& texts,
                                      bool feePaidFromFunds, const NumberFormat& format);
