#include "redemption_calculation.h"

#include "calc/todays_tax.h"
#include "core/fund_rules.h"
#include "core/worksheet.h"

#include <optional>

namespace {

constexpr QStringView kValuation = figureOf(kRedemptionValuationRow);
constexpr QStringView kRetention = figureOf(kRedemptionRetentionRow);
constexpr QStringView kRedemptionTax = figureOf(kRedemptionTaxRow);
constexpr QStringView kCash = figureOf(kRedemptionCashRow);

// The gain today's rules tax: the proceeds (valuation less the retention) less the
// acquisition cost, floored to whole yen, formed exactly.
Term<Integer> taxedGain(const Term<Integer>& nbl, const Term<Integer>& cbl, const Term<Currency>& oa,
                        const Term<Integer>& retention)
{
    return roundDownWorth(nbl * oa - cbl * oa, retention);
}

} // namespace

CalcOutcome<> runRedemption(CalcRecord& record, const BoxTexts& texts, const NumberFormat& format,
                            Trace* trace)
{
    // A rate of 0 is a valid input, so the rate is never missing.
    if (CalcOutcome<> read = readInputs(record, kRedemptionBoxes, texts, format, trace); !read)
        return read;

    Worksheet ws(trace, record.range);
    const auto [cbl, nbl, oa] = ws.known(record.CBL, record.NBL, record.OA);
    const TaxRules rules = record.rules;
    ws.note(calculationHeading(rules));
    const auto valuation = ws.let(kValuation, u"評価額（計算値）", nbl * oa / kUnitsPerNav);
    // Divided by 10,000 before the rate, then product before the division by 100: the
    // ties of whole-yen retentions depend on this order.
    const auto fee = ws.let(kRetention, u"信託留保額",
                            roundHalfEven(valuation * ws.known(record.RetentionPercent) / kPercent));
    auto tax = ws.known(Integer{0});
    std::optional<TodaysTax> today;
    if (record.NBL > record.CBL) {
        ws.note(u"現在の基準価額 %1 > 元本の基準価額 %2 のため、値上がり益に課税", nbl, cbl);
        if (rules.set == RuleSet::Current) {
            const auto base = ws.let(kRedemptionTax, u"課税対象の益（1 円未満切り捨て）", taxedGain(nbl, cbl, oa, fee));
            today = letTodaysTax(ws, kRedemptionTax, base, rules.nisa);
            tax = today->total;
        } else {
            const auto principal = ws.let(kRedemptionTax, u"元本（計算値）", cbl * oa / kUnitsPerNav);
            // The retention comes off before the principal.
            const auto gain = ws.let(kRedemptionTax, u"課税対象の益", valuation - fee - principal);
            // No tax is withheld on a loss: a retention larger than the rise in value would
            // otherwise give a negative tax that adds to the cash.
            if (rules.nisa)
                ws.note(kNisaNote);
            else if (gain.value > 0.0)
                tax = ws.let(kRedemptionTax, u"税金", roundHalfEven(gain * kTaxRate));
            else
                ws.note(u"信託留保額を引くと益が残らないため、税金は 0");
        }
    } else {
        ws.note(u"現在の基準価額 %1 ≦ 元本の基準価額 %2：値下がりのため税金は 0", nbl, cbl);
    }
    // Tax comes off before the retention.
    const auto cash = ws.let(kCash, u"手取り現金（計算値）", roundToFourPlaces(valuation - tax - fee));

    if (CalcOutcome<> done = checked(ws); !done)
        return done;
    record.Fee = fee.value;
    record.Tax = tax.value;
    record.Cash = cash.value;
    if (rules.set == RuleSet::Current) {
        record.IncomeTax = today ? today->income.value : 0;
        record.ResidentTax = today ? today->resident.value : 0;
    }
    return {};
}

CalcOutcome<RedemptionFigures> redemptionStatement(const CalcRecord& record, Trace* trace)
{
    Worksheet ws(trace, record.range);
    ws.note(u"【明細の計算】");
    const auto valuation = ws.let(kValuation, u"評価額",
                                  roundDown(ws.known(record.NBL) * ws.known(record.OA) / kUnitsPerNav));
    const auto cash = ws.let(kCash, u"手取り現金", roundDown(ws.known(record.Cash)));
    return checked(ws, RedemptionFigures{valuation.value, record.Tax, record.Fee, cash.value,
                                         record.IncomeTax, record.ResidentTax});
}

CalcOutcome<RedemptionFigures> calculateRedemption(CalcRecord& record, const BoxTexts& texts,
                                                   const NumberFormat& format, Trace* trace)
{
    auto formed = formWhenDone(redemptionStatementDecl(record.rules.set), trace,
                               runRedemption(record, texts, format, trace),
                               [&] { return redemptionStatement(record, trace); });
    noteTodaysTaxForReference(bool(formed), record, trace, [&](Worksheet& ws) {
        if (record.NBL <= record.CBL)
            return ws.known(Integer{0});
        return taxedGain(ws.known(record.NBL), ws.known(record.CBL), ws.known(record.OA),
                         ws.known(record.Fee));
    });
    return formed;
}
