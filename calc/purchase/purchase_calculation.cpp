#include "purchase_calculation.h"

#include "core/fund_rules.h"

#include <cmath>
#include <optional>

namespace {

struct PurchaseResults {
    double rate = 0.0;
    Integer fee = 0;
    Currency units;
};

// A floating step that overflowed (or, past the divisor checks, went invalid) names
// the figure it was heading for.
CalcOutcome faultIn(double value, const StatementRow<PurchaseFigures>& row)
{
    if (std::isnan(value))
        return CalcOutcome::invalid();
    return CalcOutcome::overflow(row.layout.figureName);
}

// Rate, fee and units in the order and precision the statement relies on. Each
// floating step is tested right after it is formed; every divisor before use.
CalcOutcome computeResults(const CalcRecord& r, bool feePaidFromFunds, PurchaseResults& out)
{
    const double funds = r.IM;
    const double nav = r.BL;

    double rate = 1.0;
    double feeValue = 0.0;
    if (feePaidFromFunds) {
        const double a = r.FP1 / kPercent * r.FP2 / kPercent;
        const double b = r.FP1 / kPercent + 1.0;
        rate = a + b;
        // An unbounded cost factor comes from an unbounded fee percentage.
        if (!std::isfinite(rate))
            return faultIn(rate, kPurchaseFeeRow);
        // A fee of -100 % with no tax leaves nothing to divide the funds by.
        if (rate == 0.0)
            return CalcOutcome::invalid();
        feeValue = funds - funds / rate;
    } else {
        feeValue = (r.FP1 / kPercent * r.FP2 / kPercent + r.FP1 / kPercent) * funds;
    }
    if (!std::isfinite(feeValue))
        return faultIn(feeValue, kPurchaseFeeRow);
    const std::optional<Integer> fee = roundToInteger(feeValue);
    if (!fee)
        return CalcOutcome::overflow(kPurchaseFeeRow.layout.figureName);

    if (nav == 0.0)
        return CalcOutcome::invalid();
    const double unitValue = funds / rate / nav * kUnitsPerNav;
    if (!std::isfinite(unitValue))
        return faultIn(unitValue, kPurchaseUnitsRow);
    const std::optional<Currency> units = Currency::fromDouble(unitValue);
    if (!units)
        return CalcOutcome::overflow(kPurchaseUnitsRow.layout.figureName);

    out = {rate, *fee, *units};
    return CalcOutcome::done();
}

Formed<PurchaseFigures> overflowOf(const StatementRow<PurchaseFigures>& row)
{
    return {CalcOutcome::overflow(row.layout.figureName), {}};
}

} // namespace

CalcOutcome runPurchase(CalcRecord& record, const BoxTexts& texts, bool feePaidFromFunds,
                        const NumberFormat& format)
{
    if (auto refused = readBoxes(record, kPurchaseBoxes, texts, format))
        return *refused;
    // Only zero counts as missing; the tax may be zero, and negatives are computed.
    if (auto missing = findMissingInput(record, kPurchaseBoxes))
        return *missing;

    PurchaseResults results;
    const CalcOutcome outcome = computeResults(record, feePaidFromFunds, results);
    if (!outcome.isDone())
        return outcome;
    record.Rate = results.rate;
    record.Fee = results.fee;
    record.OA = results.units;
    return outcome;
}

Formed<PurchaseFigures> purchaseStatement(const CalcRecord& record, bool feePaidFromFunds)
{
    PurchaseFigures figures;
    // Whole units only, rounded down: a fraction of a unit is not shown as bought.
    figures.units = record.OA.floorWhole();

    // The units' worth at the NAV. OA carries four decimals and the result is rounded
    // down, so it may fall a yen short of the principal.
    const std::optional<double> worth = holdingValue(record.BL, record.OA);
    const std::optional<std::int64_t> amount = worth ? floorToWhole(*worth) : std::nullopt;
    if (!amount)
        return overflowOf(kPurchaseAmountRow);
    figures.amount = *amount;

    figures.fee = record.Fee;

    // Paid out of the funds, the fee is already inside them; otherwise it comes on
    // top, and the sum must still be an Integer.
    if (feePaidFromFunds) {
        figures.total = record.IM;
    } else {
        const std::optional<Integer> total = checkedAdd(record.IM, record.Fee);
        if (!total)
            return overflowOf(kPurchaseTotalRow);
        figures.total = *total;
    }
    return {CalcOutcome::done(), figures};
}

Formed<PurchaseFigures> calculatePurchase(CalcRecord& record, const BoxTexts& texts,
                                          bool feePaidFromFunds, const NumberFormat& format)
{
    return formWhenDone<PurchaseFigures>(
        runPurchase(record, texts, feePaidFromFunds, format),
        [&] { return purchaseStatement(record, feePaidFromFunds); });
}

FeeCoverage toggleFeeCoverage(FeeCoverage now)
{
    if (now.memory == 0)
        return {true, -1};
    if (now.memory == -1)
        return {false, 0};
    return now;
}
