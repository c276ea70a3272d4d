#pragma once

#include "declaration.h"

#include "core/calc_record.h"
#include "core/fund_rules.h"
#include "core/worksheet.h"

#include <QString>
#include <QStringView>

// Today's tax on a redemption gain or a taxable distribution: two taxes on the same
// base in whole yen, 所得税及び復興特別所得税 and 住民税, each floored to the yen.

// The two rows a statement gains after 税金 under today's rules. Only miroven-calc shows
// them, so no window lays them out.
inline constexpr RowLayout kIncomeTaxLayout{
    .captionName = u"lblIncomeTaxCaption", .caption = u"所得税及び復興特別所得税", .captionAt = {},
    .valueName = u"lblIncomeTax", .valueAt = {}, .figureName = u"所得税及び復興特別所得税"};
inline constexpr RowLayout kResidentTaxLayout{
    .captionName = u"lblResidentTaxCaption", .caption = u"住民税", .captionAt = {},
    .valueName = u"lblResidentTax", .valueAt = {}, .figureName = u"住民税"};

struct TodaysTax {
    Term<Integer> income;   // 所得税及び復興特別所得税
    Term<Integer> resident; // 住民税
    Term<Integer> total;    // their sum, the statement's 税金
};

// What the working says where a NISA account leaves a gain or distribution untaxed.
inline constexpr QStringView kNisaNote = u"NISA 口座のため非課税：税金は 0";

// The working's heading of a calculation, naming the rules when they are not the windows'.
[[nodiscard]] const QString& calculationHeading(const TaxRules& rules);

// Today's taxes on `base` as steps of the worksheet, the total towards `taxFigure`; all
// 0 in a NISA account or on a base at or below 0.
[[nodiscard]] TodaysTax letTodaysTax(Worksheet& ws, QStringView taxFigure, const Term<Integer>& base,
                                     bool nisa);

// What today's rules would withhold on `base`, as one line for reference at the end of a
// working under the windows' rules:
//   （参考）現行の税制では 所得税及び復興特別所得税 X + 住民税 Y = Z
void noteTodaysTax(Worksheet& ws, const Term<Integer>& base, bool nisa);

// That line at the end of a working whose statement was formed under the windows' rules,
// on the base `base(ws)` gives.
template <class Base>
void noteTodaysTaxForReference(bool formed, const CalcRecord& record, Trace* trace, Base&& base)
{
    if (!trace || !formed || record.rules.set != RuleSet::Windows)
        return;
    Worksheet ws(trace, record.range);
    noteTodaysTax(ws, base(ws), record.rules.nisa);
}
