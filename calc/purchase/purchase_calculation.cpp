#include "purchase_calculation.h"

#include "core/box_reading.h"

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
CalcOutcome faultIn(double value, const char16_t* figure)
{
    if (std::isnan(value))
        return CalcOutcome::invalid();
    return CalcOutcome::overflow(QString::fromUtf16(figure));
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
        const double a = r.FP1 / 100.0 * r.FP2 / 100.0;
        const double b = r.FP1 / 100.0 + 1.0;
        rate = a + b;
        // An unbounded cost factor comes from an unbounded fee percentage.
        if (!std::isfinite(rate))
            return faultIn(rate, kFigureFee);
        // A fee of -100 % with no tax leaves nothing to divide the funds by.
        if (rate == 0.0)
            return CalcOutcome::invalid();
        feeValue = funds - funds / rate;
    } else {
        feeValue = (r.FP1 / 100.0 * r.FP2 / 100.0 + r.FP1 / 100.0) * funds;
    }
    if (!std::isfinite(feeValue))
        return faultIn(feeValue, kFigureFee);
    const std::optional<Integer> fee = roundToInteger(feeValue);
    if (!fee)
        return CalcOutcome::overflow(QString::fromUtf16(kFigureFee));

    if (nav == 0.0)
        return CalcOutcome::invalid();
    const double unitValue = funds / rate / nav * 10000.0;
    if (!std::isfinite(unitValue))
        return faultIn(unitValue, kFigureUnits);
    const std::optional<Currency> units = Currency::fromDouble(unitValue);
    if (!units)
        return CalcOutcome::overflow(QString::fromUtf16(kFigureUnits));

    out = {rate, *fee, *units};
    return CalcOutcome::done();
}

} // namespace

CalcOutcome runPurchase(CalcRecord& record, const PurchaseTexts& texts, bool feePaidFromFunds,
                        const NumberFormat& format)
{
    if (auto refused = storeBox(record.IM, parseInteger(texts.IM, format), kBoxIM))
        return *refused;

    if (auto refused = storeBox(record.FP1, parseDouble(texts.FP1, format), kBoxFP1))
        return *refused;

    if (auto refused = storeBox(record.FP2, parseDouble(texts.FP2, format), kBoxFP2))
        return *refused;

    if (auto refused = storeBox(record.BL, parseInteger(texts.BL, format), kBoxBL))
        return *refused;

    // Only zero counts as missing; the tax may be zero, and negatives are computed.
    const char* missing = nullptr;
    if (record.IM == 0)
        missing = "1";
    else if (record.FP1 == 0.0)
        missing = "3";
    else if (record.BL == 0)
        missing = "2";
    if (missing) {
        record.ErrNo = QString::fromLatin1(missing);
        return CalcOutcome::missingInput();
    }

    PurchaseResults results;
    const CalcOutcome outcome = computeResults(record, feePaidFromFunds, results);
    if (outcome.kind != CalcOutcome::Kind::Done)
        return outcome;
    record.Rate = results.rate;
    record.Fee = results.fee;
    record.OA = results.units;
    return outcome;
}
