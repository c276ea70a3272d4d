#include "distribution_calculation.h"

#include "core/box_reading.h"

#include "core/figures.h"

#include <algorithm>
#include <cmath>

namespace {

// Figures as the statement names them, for the overflow message.
const QString kTaxableCaption = QStringLiteral("課税分配金");
const QString kNonTaxableCaption = QStringLiteral("非課税分配金");
const QString kTaxCaption = QStringLiteral("税金");
const QString kNetCaption = QStringLiteral("手取分配金");

constexpr double kTaxRate = 0.2;

struct Split {
    Integer taxable = 0;
    Integer tax = 0;
};

// Tax withheld on a taxable amount: amount x 0.2 in double, whole yen ties to even.
std::optional<Integer> taxOn(Integer taxable)
{
    return roundToInteger(static_cast<double>(taxable) * kTaxRate);
}

// Value of the holding at a NAV, in yen: NAV x units formed exactly, then as a double / 10000.
std::optional<double> holdingValue(Integer nav, Currency units)
{
    const std::optional<Currency> product = multiply(nav, units);
    if (!product)
        return std::nullopt;
    return product->toDouble() / 10000.0;
}

// Non-taxable part when the NAV fell below the principal NAV; see runDistribution.
// Returns an outcome other than Done when the figures cannot be formed.
CalcOutcome splitBelowPrincipal(const CalcRecord& r, Split& split)
{
    const std::optional<double> atPrincipal = holdingValue(r.CBL, r.OA);
    const std::optional<double> afterDistribution = holdingValue(r.NBL, r.OA);
    // Both products only serve the non-taxable part.
    if (!atPrincipal || !afterDistribution)
        return CalcOutcome::overflow(kNonTaxableCaption);
    const double below = *atPrincipal - *afterDistribution;
    if (std::isnan(below))
        return CalcOutcome::invalid();
    if (std::isinf(below))
        return CalcOutcome::overflow(kNonTaxableCaption);

    Integer nonTaxable = r.Div;
    if (below < static_cast<double>(r.Div)) {
        // Clamp before rounding: a holding of negative units stands "below" by a
        // negative amount, which may lie far outside the Integer range; it simply
        // returns no principal. Below Div, the rounded amount never exceeds Div.
        const std::optional<Integer> rounded = roundToInteger(std::max(below, 0.0));
        if (!rounded)
            return CalcOutcome::overflow(kNonTaxableCaption);
        nonTaxable = std::clamp<Integer>(*rounded, 0, r.Div);
    }

    const std::optional<Integer> taxable = checkedSubtract(r.Div, nonTaxable);
    if (!taxable)
        return CalcOutcome::overflow(kTaxableCaption);
    const std::optional<Integer> tax = taxOn(*taxable);
    if (!tax)
        return CalcOutcome::overflow(kTaxCaption);
    split = {*taxable, *tax};
    return CalcOutcome::done();
}

} // namespace

CalcOutcome runDistribution(CalcRecord& record, const DistributionTexts& texts,
                            const NumberFormat& format)
{
    // Every box is stored before anything is tested, so a refused calculation still
    // leaves the values read so far in the record.
    if (auto refused = storeBox(record.CBL, parseInteger(texts.CBL, format), BoxCBL))
        return *refused;

    if (auto refused = storeBox(record.NBL, parseInteger(texts.NBL, format), BoxNBL))
        return *refused;

    if (auto refused = storeBox(record.Div, parseInteger(texts.Div, format), BoxDiv))
        return *refused;

    if (auto refused = storeBox(record.OA, parseCurrency(texts.OA, format), BoxOA))
        return *refused;

    // Only zero counts as missing: negative values and fractions of a unit pass.
    const char* missing = record.CBL == 0      ? "5"
                          : record.NBL == 0    ? "6"
                          : record.Div == 0    ? "7"
                          : record.OA.isZero() ? "8"
                                               : nullptr;
    if (missing) {
        record.ErrNo = QString::fromLatin1(missing);
        return CalcOutcome::missingInput();
    }

    Split split;
    if (record.CBL <= record.NBL || record.Div <= 0) {
        // Nothing of the principal is paid back: the whole distribution is taxable.
        const std::optional<Integer> tax = taxOn(record.Div);
        if (!tax)
            return CalcOutcome::overflow(kTaxCaption);
        split = {record.Div, *tax};
    } else {
        const CalcOutcome outcome = splitBelowPrincipal(record, split);
        if (outcome.kind != CalcOutcome::Kind::Done)
            return outcome;
    }

    record.TaxableDiv = split.taxable;
    record.Tax = split.tax;
    return CalcOutcome::done();
}

DistributionStatement distributionStatement(const CalcRecord& record)
{
    const std::optional<Integer> nonTaxable = checkedSubtract(record.Div, record.TaxableDiv);
    if (!nonTaxable)
        return {std::nullopt, kNonTaxableCaption};
    const std::optional<Integer> net = checkedSubtract(record.Div, record.Tax);
    if (!net)
        return {std::nullopt, kNetCaption};

    const Integer principalAfter = record.NBL > record.CBL ? record.CBL : record.NBL;
    return {DistributionFigures{
                figureText(record.TaxableDiv),
                figureText(*nonTaxable),
                figureText(record.Tax),
                figureText(*net),
                figureText(principalAfter),
            },
            {}};
}
