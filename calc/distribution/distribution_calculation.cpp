#include "distribution_calculation.h"

#include "calc/todays_tax.h"
#include "core/fund_rules.h"
#include "core/worksheet.h"

#include <optional>

namespace {

constexpr QStringView kTaxable = figureOf(kDistributionTaxableRow);
constexpr QStringView kNonTaxable = figureOf(kDistributionNonTaxableRow);
constexpr QStringView kDistributionTax = figureOf(kDistributionTaxRow);
constexpr QStringView kNet = figureOf(kDistributionNetRow);
constexpr QStringView kPrincipal = figureOf(kDistributionPrincipalRow);

} // namespace

CalcOutcome<> runDistribution(CalcRecord& record, const BoxTexts& texts,
                              const NumberFormat& format, Trace* trace)
{
    // Only zero counts as missing: negative values and fractions of a unit pass.
    if (CalcOutcome<> read = readInputs(record, kDistributionBoxes, texts, format, trace); !read)
        return read;

    Worksheet ws(trace, record.range);
    const auto [cbl, nbl, div, oa] = ws.known(record.CBL, record.NBL, record.Div, record.OA);
    const TaxRules rules = record.rules;
    ws.note(calculationHeading(rules));
    auto taxable = div;
    if (record.Div <= 0) {
        ws.note(u"分配金 %1 が 0 以下のため、すべて課税分配金", div);
    } else if (record.CBL <= record.NBL) {
        ws.note(u"元本の基準価額 %1 ≦ 分配後の基準価額 %2 のため、分配金はすべて課税", cbl, nbl);
    } else {
        // The part of the distribution up to the amount by which the holding stands
        // below its principal returns principal and is not taxed.
        ws.note(u"分配後の基準価額 %1 < 元本の基準価額 %2 のため、元本を下回る分までは元本の払い戻し（非課税）",
                nbl, cbl);
        const auto below = ws.let(kNonTaxable, u"元本を下回る額",
                                  cbl * oa / kUnitsPerNav - nbl * oa / kUnitsPerNav);
        auto nonTaxable = div;
        if (below.value < static_cast<double>(record.Div)) {
            ws.note(u"下回る額 %1 < 分配金 %2 のため、下回る額が非課税分配金", below, div);
            nonTaxable = ws.let(kNonTaxable, u"非課税分配金", roundHalfEvenWithin(below, div));
        } else {
            ws.note(u"下回る額 %1 ≧ 分配金 %2 のため、分配金はすべて非課税", below, div);
        }
        taxable = ws.let(kTaxable, u"課税分配金", div - nonTaxable);
    }
    auto tax = ws.known(Integer{0});
    std::optional<TodaysTax> today;
    if (rules.set == RuleSet::Current) {
        today = letTodaysTax(ws, kDistributionTax, taxable, rules.nisa);
        tax = today->total;
    } else if (rules.nisa) {
        ws.note(kNisaNote);
    } else {
        tax = ws.let(kDistributionTax, u"税金", roundHalfEven(taxable * kTaxRate));
    }

    if (CalcOutcome<> done = checked(ws); !done)
        return done;
    record.TaxableDiv = taxable.value;
    record.Tax = tax.value;
    if (today) {
        record.IncomeTax = today->income.value;
        record.ResidentTax = today->resident.value;
    }
    return {};
}

CalcOutcome<DistributionFigures> distributionStatement(const CalcRecord& record, Trace* trace)
{
    Worksheet ws(trace, record.range);
    const auto div = ws.known(record.Div);
    ws.note(u"【明細の計算】");
    const auto nonTaxable = ws.let(kNonTaxable, u"非課税分配金", div - ws.known(record.TaxableDiv));
    const auto net = ws.let(kNet, u"手取分配金", div - ws.known(record.Tax));
    const auto cbl = ws.known(record.CBL);
    auto principalAfter = cbl;
    if (record.rules.set == RuleSet::Windows) {
        // The windows show the smaller NAV as the principal afterwards.
        principalAfter = ws.let(kPrincipal, u"分配後元本基準価額", smaller(cbl, ws.known(record.NBL)));
    } else if (nonTaxable.value == 0) {
        ws.note(u"元本払戻金がないため、個別元本は元本の基準価額 %1 のまま", cbl);
    } else {
        // The holder's principal falls by exactly the principal returned on 10,000 units,
        // which is rounded to whole yen, ties to even, before it comes off.
        const auto returned = ws.let(kPrincipal, u"元本払戻金（1万口当たり）",
                                     roundHalfEvenPerNav(nonTaxable, ws.known(record.OA)));
        principalAfter = ws.let(kPrincipal, u"分配後元本基準価額（個別元本）", cbl - returned);
    }
    return checked(ws, DistributionFigures{record.TaxableDiv, nonTaxable.value, record.Tax,
                                           net.value, principalAfter.value, record.IncomeTax,
                                           record.ResidentTax});
}

CalcOutcome<DistributionFigures> calculateDistribution(CalcRecord& record, const BoxTexts& texts,
                                                       const NumberFormat& format, Trace* trace)
{
    auto formed = formWhenDone(distributionStatementDecl(record.rules.set), trace,
                               runDistribution(record, texts, format, trace),
                               [&] { return distributionStatement(record, trace); });
    noteTodaysTaxForReference(bool(formed), record, trace,
                              [&](Worksheet& ws) { return ws.known(record.TaxableDiv); });
    return formed;
}
