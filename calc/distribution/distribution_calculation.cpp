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
std::optional<Integer> taxOn(Integer taxable)
{
    return roundToInteger(static_cast<double>(taxable) * kTaxRate);
}

// Non-taxable part when the NAV fell below the principal NAV; see runDistribution.
// Returns an outcome other than Done when the figures cannot be formed.
CalcOutcome splitBelowPrincipal(const CalcRecord& r, Split& split)
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

    Integer nonTaxable = r.Div;
    if (below < static_cast<double>(r.Div)) {
        // Clamp before rounding: a holding of negative units stands "below" by a
        // negative amount, which may lie far outside the Integer range; it simply
        // returns no principal. Below Div, the rounded amount never exceeds Div.
        const std::optional<Integer> rounded = roundToInteger(std::max(below, 0.0));
        if (!rounded)
            return overflowOf(kDistributionNonTaxableRow);
        nonTaxable = std::clamp<Integer>(*rounded, 0, r.Div);
    }

    const std::optional<Integer> taxable = checkedSubtract(r.Div, nonTaxable);
    if (!taxable)
        return overflowOf(kDistributionTaxableRow);
    const std::optional<Integer> tax = taxOn(*taxable);
    if (!tax)
        return overflowOf(kDistributionTaxRow);
    split = {*taxable, *tax};
    return CalcOutcome::done();
}

} // namespace

CalcOutcome runDistribution(CalcRecord& record, const BoxTexts& texts,
                            const NumberFormat& format)
{
    // Every box is stored before anything is tested, so a refused calculation still
    // leaves the values read so far in the record.
    if (auto refused = readBoxes(record, kDistributionBoxes, texts, format))
        return *refused;
    // Only zero counts as missing: negative values and fractions of a unit pass.
    if (auto missing = findMissingInput(record, kDistributionBoxes))
        return *missing;

    Split split;
    if (record.CBL <= record.NBL || record.Div <= 0) {
        // Nothing of the principal is paid back: the whole distribution is taxable.
        const std::optional<Integer> tax = taxOn(record.Div);
        if (!tax)
            return overflowOf(kDistributionTaxRow);
        split = {record.Div, *tax};
    } else {
        const CalcOutcome outcome = splitBelowPrincipal(record, split);
        if (!outcome.isDone())
            return outcome;
    }

    record.TaxableDiv = split.taxable;
    record.Tax = split.tax;
    return CalcOutcome::done();
}

Formed<DistributionFigures> distributionStatement(const CalcRecord& record)
{
    const std::optional<Integer> nonTaxable = checkedSubtract(record.Div, record.TaxableDiv);
    if (!nonTaxable)
        return {overflowOf(kDistributionNonTaxableRow), {}};
    const std::optional<Integer> net = checkedSubtract(record.Div, record.Tax);
    if (!net)
        return {overflowOf(kDistributionNetRow), {}};

    const Integer principalAfter = record.NBL > record.CBL ? record.CBL : record.NBL;
    return {CalcOutcome::done(),
            {record.TaxableDiv, *nonTaxable, record.Tax, *net, principalAfter}};
}

Formed<DistributionFigures> calculateDistribution(CalcRecord& record, const BoxTexts& texts,
                                                  const NumberFormat& format)
{
    return formWhenDone<DistributionFigures>(runDistribution(record, texts, format),
                                             [&] { return distributionStatement(record); });
}
