#include "todays_tax.h"

#include "core/withholding.h"

namespace {

constexpr WithholdingSteps kTodaysSteps{kIncomeTaxLayout.figureName, kIncomeTaxLayout.caption,
                                        kResidentTaxLayout.figureName, kResidentTaxLayout.caption};

TodaysTax untaxed(const Worksheet& ws)
{
    const auto zero = ws.known(Integer{0});
    return {zero, zero, zero};
}

} // namespace

const QString& calculationHeading(const TaxRules& rules)
{
    // Formed once: a calculation asks for its heading whether or not it explains itself.
    static const QString kWindows = QStringLiteral("【計算】");
    static const QString kCurrent = kWindows + QStringLiteral("現行の税制（") + incomeTaxText(currentTaxLaw())
                                    + QStringLiteral(" と") + residentTaxText(currentTaxLaw())
                                    + QStringLiteral(" を、1 円未満を切り捨てた同じ課税対象からそれぞれ 1 円未満切り捨て）");
    static const QString kNisa = QStringLiteral("NISA 口座（非課税）");
    static const QString kHeadings[2][2] = {{kWindows, kWindows + kNisa}, {kCurrent, kCurrent + kNisa}};
    return kHeadings[rules.set == RuleSet::Current ? 1 : 0][rules.nisa ? 1 : 0];
}

TodaysTax letTodaysTax(Worksheet& ws, QStringView taxFigure, const Term<Integer>& base, bool nisa)
{
    if (nisa) {
        ws.note(kNisaNote);
        return untaxed(ws);
    }
    if (base.value <= 0) {
        ws.note(u"課税対象 %1 が 0 以下のため税金は 0", base);
        return untaxed(ws);
    }
    const Withheld withheld = withhold(ws, base, currentTaxLaw(), kTodaysSteps);
    return {withheld.income, withheld.resident, ws.let(taxFigure, u"税金", withheld.income + withheld.resident)};
}

void noteTodaysTax(Worksheet& ws, const Term<Integer>& base, bool nisa)
{
    TodaysTax tax = untaxed(ws);
    if (!nisa && !(base.ok() && base.value <= 0)) {
        const Withheld withheld = withholdAside(ws, base, currentTaxLaw());
        tax = {withheld.income, withheld.resident, ws.aside(withheld.income + withheld.resident)};
    }
    if (base.ok() && tax.total.ok())
        ws.note(u"（参考）現行の税制では 所得税及び復興特別所得税 %1 + 住民税 %2 = %3", tax.income,
                tax.resident, tax.total);
    else
        ws.note(u"（参考）現行の税制では 税金が計算できる範囲を超えます");
}
