#pragma once

#include "purchase_declaration.h"

#include "calc/box_reading.h"
#include "calc/calc_outcome.h"
#include "core/calc_record.h"
#include "core/number_text.h"

// Reads the boxes into IM, FP1, FP2 and BL (stopping at the first refused box; the
// fields read before it keep their new values), tests the required fields (a zero
// stores its code in ErrNo), then computes Rate, Fee and OA. `feePaidFromFunds` is
// the fee-coverage option's state. Rate, Fee and OA are written only when every step
// succeeded; FeeCovered is never touched.
[[nodiscard]] CalcOutcome<> runPurchase(CalcRecord& record, const BoxTexts& texts,
                                        bool feePaidFromFunds, const NumberFormat& format,
                                        Trace* trace = nullptr);

// The statement's figures, formed from the record after a purchase calculation and
// from the option's state when "計算" was pressed; or the figure that does not fit.
[[nodiscard]] CalcOutcome<PurchaseFigures> purchaseStatement(const CalcRecord& record,
                                                        bool feePaidFromFunds,
                                                        Trace* trace = nullptr);

// The calculation, then its statement; a trace ends with the statement's figures.
[[nodiscard]] CalcOutcome<PurchaseFigures> calculatePurchase(CalcRecord& record, const BoxTexts& texts,
                                                        bool feePaidFromFunds,
                                                        const NumberFormat& format,
                                                        Trace* trace = nullptr);

// The fee-coverage option as a switch whose memory is FeeCovered: a mouse release
// turns it on when the memory is 0 and off when it is -1; any other memory leaves
// option and memory as they are.
struct FeeCoverage {
    bool selected;
    Integer memory;
    friend bool operator==(FeeCoverage, FeeCoverage) = default;
};
[[nodiscard]] FeeCoverage toggleFeeCoverage(FeeCoverage now);
