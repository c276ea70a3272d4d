#include "redemption_calculation.h"

#include "core/box_reading.h"

#include "core/currency.h"
#include "core/figures.h"
#include "core/integer.h"

#include <cmath>
#include <optional>

namespace {

constexpr double kUnitsPerQuote = 10000.0; // a NAV is the price of 10,000 units
constexpr double kPercent = 100.0;
constexpr double kTaxRate = 0.2;

// NAV x units / 10,000: the exact Currency product, then double. Nothing when the
// product leaves the Currency range.
std::optional<double> holdingValue(Integer nav, Currency units)
{
    const auto product = multiply(nav, units);
    if (!product)
        return std::nullopt;
    return product->toDouble() / kUnitsPerQuote;
}

} // namespace

QString redemptionBoxCaption(int box)
{
    switch (box) {
    case 0:
        return QStringLiteral("元本の基準価額");
    case 1:
        return QStringLiteral("現在の基準価額");
    case 2:
        return QStringLiteral("所有口数");
    case 3:
        return QStringLiteral("信託留保(%)");
    default:
        return {};
    }
}

QString valuationCaption() { return QStringLiteral("評価額"); }
QString taxCaption() { return QStringLiteral("税金"); }
QString retentionCaption() { return QStringLiteral("信託留保額"); }
QString cashCaption() { return QStringLiteral("手取り現金"); }

CalcOutcome runRedemption(CalcRecord& record, const RedemptionTexts& texts,
                          const NumberFormat& format)
{
    // Each field is stored before the next box is read, so a refusal leaves the
    // boxes read before it in the record.
    if (auto refused = storeBox(record.CBL, parseInteger(texts.CBL, format), 0))
        return *refused;

    if (auto refused = storeBox(record.NBL, parseInteger(texts.NBL, format), 1))
        return *refused;

    if (auto refused = storeBox(record.OA, parseCurrency(texts.OA, format), 2))
        return *refused;

    if (auto refused = storeBox(record.RetentionPercent, parseDouble(texts.Fee, format), 3))
        return *refused;

    // A rate of 0 is a valid input, so the rate is never missing.
    if (record.CBL == 0) {
        record.ErrNo = QStringLiteral("9");
        return CalcOutcome::missingInput();
    }
    if (record.NBL == 0) {
        record.ErrNo = QStringLiteral("10");
        return CalcOutcome::missingInput();
    }
    if (record.OA.isZero()) {
        record.ErrNo = QStringLiteral("11");
        return CalcOutcome::missingInput();
    }

    const auto valuation = holdingValue(record.NBL, record.OA);
    if (!valuation || !std::isfinite(*valuation))
        return CalcOutcome::overflow(valuationCaption());

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
        return CalcOutcome::overflow(retentionCaption());

    Integer tax = 0;
    if (record.NBL > record.CBL) {
        const auto principal = holdingValue(record.CBL, record.OA);
        if (!principal)
            return CalcOutcome::overflow(taxCaption());
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
                return CalcOutcome::overflow(taxCaption());
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
        return CalcOutcome::overflow(cashCaption());

    record.Fee = *fee;
    record.Tax = tax;
    record.Cash = *cash;
    return CalcOutcome::done();
}

CalcOutcome formRedemptionFigures(const CalcRecord& record, RedemptionFigures& figures)
{
    const auto valuation = holdingValue(record.NBL, record.OA);
    const auto valuationWhole = valuation ? floorToWhole(*valuation) : std::nullopt;
    if (!valuationWhole)
        return CalcOutcome::overflow(valuationCaption());

    figures.IM = figureText(*valuationWhole);
    figures.Tax = figureText(record.Tax);
    figures.Fee = figureText(record.Fee);
    figures.Gain = figureText(record.Cash.floorWhole());
    return CalcOutcome::done();
}
