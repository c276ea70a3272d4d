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

CalcOutcome runRedemption(CalcRecord& record, const BoxTexts& texts, const NumberFormat& format)
{
    // Each field is stored before the next box is read, so a refusal leaves the
    // boxes read before it in the record.
    if (auto refused = readBoxes(record, kRedemptionBoxes, texts, format))
        return *refused;
    // A rate of 0 is a valid input, so the rate is never missing.
    if (auto missing = findMissingInput(record, kRedemptionBoxes))
        return *missing;

    const auto valuation = holdingValue(record.NBL, record.OA);
    if (!valuation || !std::isfinite(*valuation))
        return overflowOf(kRedemptionValuationRow);

    // Divided by 10,000 before the rate, then product before the division by 100:
    // the ties of whole-yen retentions depend on this order.
    double retention = *valuation * record.RetentionPercent;
    if (std::isnan(retention))
        return CalcOutcome::invalid();
    retention = retention / kPercent;
    if (std::isnan(retention))
        return CalcOutcome::invalid();
    const auto fee = roundToInteger(retention);
    if (!fee)
        return overflowOf(kRedemptionRetentionRow);

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
        // No tax is withheld on a loss: a retention larger than the rise in value
        // would otherwise give a negative tax that adds to the cash.
        if (gain > 0.0) {
            const double taxable = gain * kTaxRate;
            if (std::isnan(taxable))
                return CalcOutcome::invalid();
            const auto rounded = roundToInteger(taxable);
            if (!rounded)
                return overflowOf(kRedemptionTaxRow);
            tax = *rounded;
        }
    }

    // Tax comes off before the retention.
    double net = *valuation - static_cast<double>(tax);
    net = net - static_cast<double>(*fee);
    if (std::isnan(net))
        return CalcOutcome::invalid();
    const auto cash = Currency::fromDouble(net);
    if (!cash)
        return overflowOf(kRedemptionCashRow);

    record.Fee = *fee;
    record.Tax = tax;
    record.Cash = *cash;
    return CalcOutcome::done();
}

Formed<RedemptionFigures> redemptionStatement(const CalcRecord& record)
{
    const auto valuation = holdingValue(record.NBL, record.OA);
    const auto valuationWhole = valuation ? floorToWhole(*valuation) : std::nullopt;
    if (!valuationWhole)
        return {overflowOf(kRedemptionValuationRow), {}};
    return {CalcOutcome::done(),
            {*valuationWhole, record.Tax, record.Fee, record.Cash.floorWhole()}};
}

Formed<RedemptionFigures> calculateRedemption(CalcRecord& record, const BoxTexts& texts,
                                              const NumberFormat& format)
{
    return formWhenDone<RedemptionFigures>(runRedemption(record, texts, format),
                                           [&] { return redemptionStatement(record); });
}
