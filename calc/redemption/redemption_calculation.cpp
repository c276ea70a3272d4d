#include "redemption_calculation.h"

#include "core/fund_rules.h"

#include <cmath>
#include <optional>

namespace {

CalcOutcome overflowOf(const StatementRow<RedemptionFigures>& row)
{
    return CalcOutcome::overflow(row.layout.figureName);
}

} // namespace

CalcOutcome runRedemption(CalcRecord& record, const BoxTexts& texts, const NumberFormat& format,
                          Trace* trace)
{
    // Each field is stored before the next box is read, so a refusal leaves the
    // boxes read before it in the record.
    if (auto refused = readBoxes(record, kRedemptionBoxes, texts, format, trace))
        return *refused;
    // A rate of 0 is a valid input, so the rate is never missing.
    if (auto missing = findMissingInput(record, kRedemptionBoxes))
        return *missing;

    const auto valuation = holdingValue(record.NBL, record.OA);
    if (!valuation || !std::isfinite(*valuation))
        return overflowOf(kRedemptionValuationRow);
    note(trace, [] { return QStringLiteral("【計算】"); });
    note(trace, [&] {
        return QStringLiteral("評価額（計算値） = %1 × %2 ÷ 10000 = %3")
            .arg(workingText(record.NBL), workingText(record.OA), workingText(*valuation));
    });

    // Divided by 10,000 before the rate, then product before the division by 100:
    // the ties of whole-yen retentions depend on this order.
    double retention = *valuation * record.RetentionPercent;
    if (std::isnan(retention))
        return CalcOutcome::invalid();
    retention = retention / kPercent;
    if (std::isnan(retention))
        return CalcOutcome::invalid();
    const auto fee = roundToInteger(retention, record.range);
    if (!fee)
        return overflowOf(kRedemptionRetentionRow);
    note(trace, [&] {
        return QStringLiteral("信託留保額 = %1 × %2 ÷ 100 = %3 を偶数丸め = %4")
            .arg(workingText(*valuation), workingText(record.RetentionPercent),
                 workingText(retention), workingText(*fee));
    });

    Integer tax = 0;
    if (record.NBL > record.CBL) {
        const auto principal = holdingValue(record.CBL, record.OA);
        if (!principal)
            return overflowOf(kRedemptionTaxRow);
        // The retention comes off before the principal.
        double gain = *valuation - static_cast<double>(*fee);
        gain = gain - *principal;
        if (std::isnan(gain))
            return CalcOutcome::invalid();
        note(trace, [&] {
            return QStringLiteral("現在の基準価額 %1 > 元本の基準価額 %2 のため、値上がり益に課税")
                .arg(workingText(record.NBL), workingText(record.CBL));
        });
        note(trace, [&] {
            return QStringLiteral("元本（計算値） = %1 × %2 ÷ 10000 = %3")
                .arg(workingText(record.CBL), workingText(record.OA), workingText(*principal));
        });
        note(trace, [&] {
            return QStringLiteral("課税対象の益 = %1 − %2 − %3 = %4")
                .arg(workingText(*valuation), workingText(*fee), workingText(*principal),
                     workingText(gain));
        });
        // No tax is withheld on a loss: a retention larger than the rise in value
        // would otherwise give a negative tax that adds to the cash.
        if (gain > 0.0) {
            const double taxable = gain * kTaxRate;
            if (std::isnan(taxable))
                return CalcOutcome::invalid();
            const auto rounded = roundToInteger(taxable, record.range);
            if (!rounded)
                return overflowOf(kRedemptionTaxRow);
            tax = *rounded;
            note(trace, [&] {
                return QStringLiteral("税金 = %1 × 0.2 = %2 を偶数丸め = %3")
                    .arg(workingText(gain), workingText(taxable), workingText(tax));
            });
        } else {
            note(trace, [] { return QStringLiteral("信託留保額を引くと益が残らないため、税金は 0"); });
        }
    } else {
        note(trace, [&] {
            return QStringLiteral("現在の基準価額 %1 ≦ 元本の基準価額 %2：値下がりのため税金は 0")
                .arg(workingText(record.NBL), workingText(record.CBL));
        });
    }

    // Tax comes off before the retention.
    double net = *valuation - static_cast<double>(tax);
    net = net - static_cast<double>(*fee);
    if (std::isnan(net))
        return CalcOutcome::invalid();
    const auto cash = Currency::fromDouble(net);
    if (!cash)
        return overflowOf(kRedemptionCashRow);
    note(trace, [&] {
        return QStringLiteral("手取り現金（計算値） = %1 − %2 − %3 = %4 を小数第4位に偶数丸め = %5")
            .arg(workingText(*valuation), workingText(tax), workingText(*fee), workingText(net),
                 workingText(*cash));
    });

    record.Fee = *fee;
    record.Tax = tax;
    record.Cash = *cash;
    return CalcOutcome::done();
}

Formed<RedemptionFigures> redemptionStatement(const CalcRecord& record, Trace* trace)
{
    const auto valuation = holdingValue(record.NBL, record.OA);
    const auto valuationWhole = valuation ? floorToWhole(*valuation) : std::nullopt;
    if (!valuationWhole)
        return {overflowOf(kRedemptionValuationRow), {}};
    note(trace, [] { return QStringLiteral("【明細の計算】"); });
    note(trace, [&] {
        return QStringLiteral("評価額 = %1 を切り捨て = %2")
            .arg(workingText(*valuation), workingText(*valuationWhole));
    });
    note(trace, [&] {
        return QStringLiteral("手取り現金 = %1 を切り捨て = %2")
            .arg(workingText(record.Cash), workingText(record.Cash.floorWhole()));
    });
    return {CalcOutcome::done(),
            {*valuationWhole, record.Tax, record.Fee, record.Cash.floorWhole()}};
}

Formed<RedemptionFigures> calculateRedemption(CalcRecord& record, const BoxTexts& texts,
                                              const NumberFormat& format, Trace* trace)
{
    return formWhenDone(kRedemptionStatement, trace, runRedemption(record, texts, format, trace),
                        [&] { return redemptionStatement(record, trace); });
}
