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
CalcOutcome computeResults(const CalcRecord& r, bool feePaidFromFunds, PurchaseResults& out,
                           Trace* trace)
{
    const auto funds = static_cast<double>(r.IM);
    const auto nav = static_cast<double>(r.BL);
    const QString fp1 = workingText(r.FP1);
    const QString fp2 = workingText(r.FP2);
    const QString im = workingText(r.IM);

    note(trace, [] { return QStringLiteral("【計算】"); });
    double rate = 1.0;
    double feeValue = 0.0;
    if (feePaidFromFunds) {
        const double a = r.FP1 / kPercent * r.FP2 / kPercent;
        const double b = r.FP1 / kPercent + 1.0;
        rate = a + b;
        note(trace, [&] {
            return QStringLiteral("手数料は購入資金の内から払うため、購入資金を費用係数で割って元本を求める");
        });
        note(trace, [&] {
            return QStringLiteral("費用係数 = %1 ÷ 100 × %2 ÷ 100 + (%1 ÷ 100 + 1) = %3")
                .arg(fp1, fp2, workingText(rate));
        });
        // An unbounded cost factor comes from an unbounded fee percentage.
        if (!std::isfinite(rate))
            return faultIn(rate, kPurchaseFeeRow);
        // A fee of -100 % with no tax leaves nothing to divide the funds by.
        if (rate == 0.0)
            return CalcOutcome::invalid();
        feeValue = funds - funds / rate;
        note(trace, [&] {
            return QStringLiteral("手数料（計算値） = %1 − %1 ÷ %2 = %3")
                .arg(im, workingText(rate), workingText(feeValue));
        });
    } else {
        feeValue = (r.FP1 / kPercent * r.FP2 / kPercent + r.FP1 / kPercent) * funds;
        note(trace, [&] {
            return QStringLiteral("手数料は購入資金に上乗せするため、費用係数 = 1（購入資金がそのまま元本）");
        });
        note(trace, [&] {
            return QStringLiteral("手数料（計算値） = (%1 ÷ 100 × %2 ÷ 100 + %1 ÷ 100) × %3 = %4")
                .arg(fp1, fp2, im, workingText(feeValue));
        });
    }
    if (!std::isfinite(feeValue))
        return faultIn(feeValue, kPurchaseFeeRow);
    const std::optional<Integer> fee = roundToInteger(feeValue, r.range);
    if (!fee)
        return CalcOutcome::overflow(kPurchaseFeeRow.layout.figureName);
    note(trace, [&] {
        return QStringLiteral("手数料 = %1 を偶数丸め = %2").arg(workingText(feeValue), workingText(*fee));
    });

    if (nav == 0.0)
        return CalcOutcome::invalid();
    const double unitValue = funds / rate / nav * kUnitsPerNav;
    if (!std::isfinite(unitValue))
        return faultIn(unitValue, kPurchaseUnitsRow);
    note(trace, [&] {
        return QStringLiteral("購入口数（計算値） = %1 ÷ %2 ÷ %3 × 10000 = %4")
            .arg(im, workingText(rate), workingText(r.BL), workingText(unitValue));
    });
    const std::optional<Currency> units = Currency::fromDouble(unitValue);
    if (!units)
        return CalcOutcome::overflow(kPurchaseUnitsRow.layout.figureName);
    note(trace, [&] {
        return QStringLiteral("購入口数 = %1 を小数第4位に偶数丸め = %2")
            .arg(workingText(unitValue), workingText(*units));
    });

    out = {rate, *fee, *units};
    return CalcOutcome::done();
}

Formed<PurchaseFigures> overflowOf(const StatementRow<PurchaseFigures>& row)
{
    return {CalcOutcome::overflow(row.layout.figureName), {}};
}

QString yesNo(bool yes) { return yes ? QStringLiteral("はい") : QStringLiteral("いいえ"); }

} // namespace

CalcOutcome runPurchase(CalcRecord& record, const BoxTexts& texts, bool feePaidFromFunds,
                        const NumberFormat& format, Trace* trace)
{
    if (auto refused = readBoxes(record, kPurchaseBoxes, texts, format, trace))
        return *refused;
    if (trace) {
        trace->choice(kFeeCoveredCaption.toString(), feePaidFromFunds);
        trace->step(QStringLiteral("%1 = %2").arg(kFeeCoveredCaption, yesNo(feePaidFromFunds)));
    }
    // Only zero counts as missing; the tax may be zero, and negatives are computed.
    if (auto missing = findMissingInput(record, kPurchaseBoxes))
        return *missing;

    PurchaseResults results;
    const CalcOutcome outcome = computeResults(record, feePaidFromFunds, results, trace);
    if (!outcome.isDone())
        return outcome;
    record.Rate = results.rate;
    record.Fee = results.fee;
    record.OA = results.units;
    return outcome;
}

Formed<PurchaseFigures> purchaseStatement(const CalcRecord& record, bool feePaidFromFunds,
                                          Trace* trace)
{
    note(trace, [] { return QStringLiteral("【明細の計算】"); });
    PurchaseFigures figures;
    // Whole units only, rounded down: a fraction of a unit is not shown as bought.
    figures.units = record.OA.floorWhole();
    note(trace, [&] {
        return QStringLiteral("購入口数 = %1 を切り捨て = %2")
            .arg(workingText(record.OA), workingText(figures.units));
    });

    // The units' worth at the NAV. OA carries four decimals and the result is rounded
    // down, so it may fall a yen short of the principal.
    const std::optional<double> worth = holdingValue(record.BL, record.OA);
    const std::optional<std::int64_t> amount = worth ? floorToWhole(*worth) : std::nullopt;
    if (!amount)
        return overflowOf(kPurchaseAmountRow);
    figures.amount = *amount;
    note(trace, [&] {
        return QStringLiteral("金額 = %1 × %2 ÷ 10000 = %3 を切り捨て = %4")
            .arg(workingText(record.BL), workingText(record.OA), workingText(*worth),
                 workingText(*amount));
    });

    figures.fee = record.Fee;

    // Paid out of the funds, the fee is already inside them; otherwise it comes on
    // top, and the sum must still be an Integer.
    if (feePaidFromFunds) {
        figures.total = record.IM;
        note(trace, [&] {
            return QStringLiteral("総投資額 = 購入資金 = %1（手数料は購入資金の内）").arg(workingText(record.IM));
        });
    } else {
        const std::optional<Integer> total = checkedAdd(record.IM, record.Fee, record.range);
        if (!total)
            return overflowOf(kPurchaseTotalRow);
        figures.total = *total;
        note(trace, [&] {
            return QStringLiteral("総投資額 = %1 + %2 = %3")
                .arg(workingText(record.IM), workingText(record.Fee), workingText(*total));
        });
    }
    return {CalcOutcome::done(), figures};
}

Formed<PurchaseFigures> calculatePurchase(CalcRecord& record, const BoxTexts& texts,
                                          bool feePaidFromFunds, const NumberFormat& format,
                                          Trace* trace)
{
    return formWhenDone(kPurchaseStatement, trace,
                        runPurchase(record, texts, feePaidFromFunds, format, trace),
                        [&] { return purchaseStatement(record, feePaidFromFunds, trace); });
}

FeeCoverage toggleFeeCoverage(FeeCoverage now)
{
    if (now.memory == 0)
        return {true, -1};
    if (now.memory == -1)
        return {false, 0};
    return now;
}
