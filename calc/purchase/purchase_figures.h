#pragma once

#include "core/calc_outcome.h"
#include "core/calc_record.h"

#include <cstdint>

// The four figures of the purchase statement, whole yen or whole units.
struct PurchaseFigures {
    std::int64_t units = 0;  // "購入口数"
    std::int64_t amount = 0; // "（金額）"
    std::int64_t fee = 0;    // "手数料"
    std::int64_t total = 0;  // "総投資額"
};

// The figures, or the figure that could not be formed (Overflow names it).
struct PurchaseStatement {
    CalcOutcome outcome;
    PurchaseFigures figures; // meaningful only when the outcome is done
};

// Formed from the record after a purchase calculation and from the fee-coverage
// option's state when "計算" was pressed. Formed before the statement opens, so a
// figure that does not fit keeps it from opening.
[[nodiscard]] PurchaseStatement purchaseStatement(const CalcRecord& record, bool feePaidFromFunds);
