#include "distribution_calculation.h"

#include "core/fund_rules.h"
#include "core/worksheet.h"

namespace {

constexpr QStringView kTaxable = figureOf(kDistributionTaxableRow);
constexpr QStringView kNonTaxable = figureOf(kDistributionNonTaxableRow);
constexpr QStringView kTax = figureOf(kDistributionTaxRow);
constexpr QStringView kNet = figureOf(kDistributionNetRow);

} // namespace

CalcOutcome<> runDistribution(CalcRecord& record, const BoxTexts& texts,
                              const NumberFormat& format, Trace* trace)
{
    // Only zero counts as missing: negative values and fractions of a unit pass.
    if (CalcOutcome<> read = readInputs(record, kDistributionBoxes, texts, format, trace); !read)
        return read;

    Worksheet ws(trace, record.range);
    const auto [cbl, nbl, div, oa] = ws.known(record.CBL, record.NBL, record.Div, record.OA);
    ws.note(u"【計算】");
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
    const auto tax = ws.let(kTax, u"税金", roundHalfEven(taxable * kTaxRate));

    if (CalcOutcome<> done = checked(ws); !done)
        return done;
    std::tie(record.TaxableDiv, record.Tax) = std::tuple(taxable.value, tax.value);
    return {};
}

CalcOutcome<DistributionFigures> distributionStatement(const CalcRecord& record, Trace* trace)
{
    Worksheet ws(trace, record.range);
    const auto div = ws.known(record.Div);
    ws.note(u"【明細の計算】");
    const auto nonTaxable = ws.let(kNonTaxable, u"非課税分配金", div - ws.known(record.TaxableDiv));
    const auto net = ws.let(kNet, u"手取分配金", div - ws.known(record.Tax));
    // The windows show the smaller NAV as the principal afterwards.
    const auto principalAfter = ws.let(figureOf(kDistributionPrincipalRow), u"分配後元本基準価額",
                                       smaller(ws.known(record.CBL), ws.known(record.NBL)));
    return checked(ws, DistributionFigures{record.TaxableDiv, nonTaxable.value, record.Tax,
                                           net.value, principalAfter.value});
}

CalcOutcome<DistributionFigures> calculateDistribution(CalcRecord& record, const BoxTexts& texts,
                                                       const NumberFormat& format, Trace* trace)
{
    return formWhenDone(kDistributionStatement, trace,
                        runDistribution(record, texts, format, trace),
                        [&] { return distributionStatement(record, trace); });
}
