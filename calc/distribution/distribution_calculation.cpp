#include "distribution_calculation.h"

#include "core/fund_rules.h"

#include <algorithm>
#include <cmath>

namespace {

CalcOutcome overflowOf(const StatementRow<DistributionFigures>& row)
{
    return CalcOutcome::overflow(row.layout.figureName);
}

struct Split {
    Integer taxable = 0;
    Integer tax = 0;
};

// Tax withheld on a taxable amount: amount x 0.2 in double, whole yen ties to even.
std::optional<Integer> taxOn(Integer taxable, IntegerRange range, Trace* trace)
{
    const double value = static_cast<double>(taxable) * kTaxRate;
    const std::optional<Integer> tax = roundToInteger(value, range);
    if (tax) {
        note(trace, [&] {
            return QStringLiteral("税金 = %1 × 0.2 = %2 を偶数丸め = %3")
                .arg(workingText(taxable), workingText(value), workingText(*tax));
        });
    }
    return tax;
}

// Non-taxable part when the NAV fell below the principal NAV; see runDistribution.
// Returns an outcome other than Done when the figures cannot be formed.
CalcOutcome splitBelowPrincipal(const CalcRecord& r, Split& split, Trace* trace)
{
    const std::optional<double> atPrincipal = holdingValue(r.CBL, r.OA);
    const std::optional<double> afterDistribution = holdingValue(r.NBL, r.OA);
    // Both products only serve the non-taxable part.
    if (!atPrincipal || !afterDistribution)
        return overflowOf(kDistributionNonTaxableRow);
    const double below = *atPrincipal - *afterDistribution;
    if (std::isnan(below))
        return CalcOutcome::invalid();
    if (std::isinf(below))
        return overflowOf(kDistributionNonTaxableRow);
    note(trace, [&] {
        return QStringLiteral("分配後の基準価額 %1 < 元本の基準価額 %2 のため、元本を下回る分までは元本の払い戻し（非課税）")
            .arg(workingText(r.NBL), workingText(r.CBL));
    });
    note(trace, [&] {
        return QStringLiteral("元本を下回る額 = %1 × %2 ÷ 10000 − %3 × %2 ÷ 10000 = %4 − %5 = %6")
            .arg(workingText(r.CBL), workingText(r.OA), workingText(r.NBL),
                 workingText(*atPrincipal), workingText(*afterDistribution), workingText(below));
    });

    Integer nonTaxable = r.Div;
    if (below < static_cast<double>(r.Div)) {
        // Clamp before rounding: a holding of negative units stands "below" by a
        // negative amount, which may lie far outside the Integer range; it simply
        // returns no principal. Below Div, the rounded amount never exceeds Div.
        const std::optional<Integer> rounded = roundToInteger(std::max(below, 0.0), r.range);
        if (!rounded)
            return overflowOf(kDistributionNonTaxableRow);
        nonTaxable = std::clamp<Integer>(*rounded, 0, r.Div);
        note(trace, [&] {
            return QStringLiteral("下回る額 %1 < 分配金 %2 のため、非課税分配金 = %1 を偶数丸め（0〜%2 の範囲） = %3")
                .arg(workingText(below), workingText(r.Div), workingText(nonTaxable));
        });
    } else {
        note(trace, [&] {
            return QStringLiteral("下回る額 %1 ≧ 分配金 %2 のため、分配金はすべて非課税")
                .arg(workingText(below), workingText(r.Div));
        });
    }

    const std::optional<Integer> taxable = checkedSubtract(r.Div, nonTaxable, r.range);
    if (!taxable)
        return overflowOf(kDistributionTaxableRow);
    note(trace, [&] {
        return QStringLiteral("課税分配金 = %1 − %2 = %3")
            .arg(workingText(r.Div), workingText(nonTaxable), workingText(*taxable));
    });
    const std::optional<Integer> tax = taxOn(*taxable, r.range, trace);
    if (!tax)
        return overflowOf(kDistributionTaxRow);
    split = {*taxable, *tax};
    return CalcOutcome::done();
}

} // namespace

CalcOutcome runDistribution(CalcRecord& record, const BoxTexts& texts,
                            const NumberFormat& format, Trace* trace)
{
    // Every box is stored before anything is tested, so a refused calculation still
    // leaves the values read so far in the record.
    if (auto refused = readBoxes(record, kDistributionBoxes, texts, format, trace))
        return *refused;
    // Only zero counts as missing: negative values and fractions of a unit pass.
    if (auto missing = findMissingInput(record, kDistributionBoxes))
        return *missing;

    note(trace, [] { return QStringLiteral("【計算】"); });
    Split split;
    if (record.CBL <= record.NBL || record.Div <= 0) {
        // Nothing of the principal is paid back: the whole distribution is taxable.
        note(trace, [&] {
            if (record.Div <= 0)
                return QStringLiteral("分配金 %1 が 0 以下のため、すべて課税分配金").arg(workingText(record.Div));
            return QStringLiteral("元本の基準価額 %1 ≦ 分配後の基準価額 %2 のため、分配金はすべて課税")
                .arg(workingText(record.CBL), workingText(record.NBL));
        });
        const std::optional<Integer> tax = taxOn(record.Div, record.range, trace);
        if (!tax)
            return overflowOf(kDistributionTaxRow);
        split = {record.Div, *tax};
    } else {
        const CalcOutcome outcome = splitBelowPrincipal(record, split, trace);
        if (!outcome.isDone())
            return outcome;
    }

    record.TaxableDiv = split.taxable;
    record.Tax = split.tax;
    return CalcOutcome::done();
}

Formed<DistributionFigures> distributionStatement(const CalcRecord& record, Trace* trace)
{
    const std::optional<Integer> nonTaxable = checkedSubtract(record.Div, record.TaxableDiv, record.range);
    if (!nonTaxable)
        return {overflowOf(kDistributionNonTaxableRow), {}};
    const std::optional<Integer> net = checkedSubtract(record.Div, record.Tax, record.range);
    if (!net)
        return {overflowOf(kDistributionNetRow), {}};

    const Integer principalAfter = record.NBL > record.CBL ? record.CBL : record.NBL;
    note(trace, [] { return QStringLiteral("【明細の計算】"); });
    note(trace, [&] {
        return QStringLiteral("非課税分配金 = %1 − %2 = %3")
            .arg(workingText(record.Div), workingText(record.TaxableDiv), workingText(*nonTaxable));
    });
    note(trace, [&] {
        return QStringLiteral("手取分配金 = %1 − %2 = %3")
            .arg(workingText(record.Div), workingText(record.Tax), workingText(*net));
    });
    note(trace, [&] {
        return QStringLiteral("分配後元本基準価額 = %1 と %2 の小さい方 = %3")
            .arg(workingText(record.CBL), workingText(record.NBL), workingText(principalAfter));
    });
    return {CalcOutcome::done(),
            {record.TaxableDiv, *nonTaxable, record.Tax, *net, principalAfter}};
}

Formed<DistributionFigures> calculateDistribution(CalcRecord& record, const BoxTexts& texts,
                                                  const NumberFormat& format, Trace* trace)
{
    return formWhenDone(kDistributionStatement, trace,
                        runDistribution(record, texts, format, trace),
                        [&] { return distributionStatement(record, trace); });
}
