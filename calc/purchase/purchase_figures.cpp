#include "purchase_figures.h"

#include "core/figures.h"
#include "purchase_calculation.h"

#include <optional>

namespace {

PurchaseStatement overflowOf(const char16_t* figure)
{
    return {CalcOutcome::overflow(QString::fromUtf16(figure)), {}};
}

} // namespace

PurchaseStatement purchaseStatement(const CalcRecord& record, bool feePaidFromFunds)
{
    PurchaseFigures figures;
    // Whole units only, rounded down: a fraction of a unit is not shown as bought.
    figures.units = record.OA.floorWhole();

    // The units' worth at the NAV. OA carries four decimals and the result is rounded
    // down, so it may fall a yen short of the principal.
    const std::optional<Currency> worth = multiply(record.BL, record.OA);
    if (!worth)
        return overflowOf(kFigureAmount);
    const std::optional<std::int64_t> amount = floorToWhole(worth->toDouble() / 10000.0);
    if (!amount)
        return overflowOf(kFigureAmount);
    figures.amount = *amount;

    figures.fee = record.Fee;

    // Paid out of the funds, the fee is already inside them; otherwise it comes on
    // top, and the sum must still be an Integer.
    if (feePaidFromFunds) {
        figures.total = record.IM;
    } else {
        const std::optional<Integer> total = checkedAdd(record.IM, record.Fee);
        if (!total)
            return overflowOf(kFigureTotal);
        figures.total = *total;
    }
    return {CalcOutcome::done(), figures};
}
