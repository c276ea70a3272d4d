#pragma once

#include "calc/declaration.h"
#include "calc/todays_tax.h"
#include "core/fund_rules.h"

#include <array>

// The distribution calculator as data.

inline constexpr BoxDecl kDistributionCBL{
    .name = u"txtCBL",
    .labelName = u"Label1",
    .caption = u"元本の基準価額",
    .tooltip = u"10,000口当たりの元本の基準価額を入力してください",
    .labelAt = {240, 120},
    .boxAt = {1920, 120, 1215, 270},
    .initialText = u"0",
    .align = BoxAlign::Left,
    .field = &CalcRecord::CBL,
    .missingCode = 5,
    .zeroIsMissing = true,
    .tabIndex = 0,
};
inline constexpr BoxDecl kDistributionNBL{
    .name = u"txtNBL",
    .labelName = u"Label2",
    .caption = u"分配後の基準価額",
    .tooltip = u"10,000口当たりの分配後基準価額です",
    .labelAt = {240, 480},
    .boxAt = {1920, 480, 1215, 270},
    .initialText = u"0",
    .align = BoxAlign::Left,
    .field = &CalcRecord::NBL,
    .missingCode = 6,
    .zeroIsMissing = true,
    .tabIndex = 1,
};
inline constexpr BoxDecl kDistributionDiv{
    .name = u"txtDiv",
    .labelName = u"Label3",
    .caption = u"分配金",
    .tooltip = u"分配金を入力してください",
    .labelAt = {240, 840},
    .boxAt = {1920, 840, 1215, 270},
    .initialText = u"0",
    .align = BoxAlign::Left,
    .field = &CalcRecord::Div,
    .missingCode = 7,
    .zeroIsMissing = true,
    .tabIndex = 2,
};
inline constexpr BoxDecl kDistributionOA{
    .name = u"txtOA",
    .labelName = u"Label4",
    .caption = u"所有口数",
    .tooltip = u"分配時に所有している口数です",
    .labelAt = {240, 1200},
    .boxAt = {1920, 1200, 1215, 270},
    .initialText = u"0",
    .align = BoxAlign::Left,
    .field = &CalcRecord::OA,
    .missingCode = 8,
    .zeroIsMissing = true,
    .tabIndex = 3,
};

// In reading order, which is also the order they are tested for a missing input.
inline constexpr std::array<const BoxDecl*, 4> kDistributionBoxes{
    &kDistributionCBL, &kDistributionNBL, &kDistributionDiv, &kDistributionOA};

inline constexpr InputWindowDecl kDistributionWindow{
    {u"frmDiv", u"Miroven-分配", u":/icons/distribution.svg", {2385, 3510, 4680, 1575}, true},
    kDistributionBoxes,
    {3480, 120, 1095, 375},
    {3480, 600, 1095, 375}};

// The distribution statement's figures, whole yen.
struct DistributionFigures {
    std::int64_t taxable = 0;
    std::int64_t nonTaxable = 0;
    std::int64_t tax = 0;
    std::int64_t net = 0;
    std::int64_t principalAfter = 0; // the holder's principal NAV afterwards
    std::int64_t incomeTax = 0;      // under today's rules only
    std::int64_t residentTax = 0;    // under today's rules only
};

inline constexpr StatementRow<DistributionFigures> kDistributionTaxableRow{
    {.captionName = u"Label1", .caption = u"課税分配金", .captionAt = {360, 120},
     .valueName = u"lblDiv1", .valueAt = {1800, 120, 1335, 255}, .figureName = u"課税分配金"},
    &DistributionFigures::taxable};
inline constexpr StatementRow<DistributionFigures> kDistributionNonTaxableRow{
    {.captionName = u"Label2", .caption = u"非課税分配金", .captionAt = {360, 480},
     .valueName = u"lblDiv2", .valueAt = {1800, 480, 1335, 255}, .figureName = u"非課税分配金"},
    &DistributionFigures::nonTaxable};
inline constexpr StatementRow<DistributionFigures> kDistributionTaxRow{
    {.captionName = u"Label3", .caption = u"税金", .captionAt = {360, 840},
     .valueName = u"lblTax", .valueAt = {1800, 840, 1335, 255}, .figureName = u"税金"},
    &DistributionFigures::tax};
inline constexpr StatementRow<DistributionFigures> kDistributionNetRow{
    {.captionName = u"Label4", .caption = u"手取分配金", .captionAt = {360, 1320},
     .valueName = u"lblDiv3", .valueAt = {1800, 1320, 1335, 255}, .figureName = u"手取分配金"},
    &DistributionFigures::net};
inline constexpr StatementRow<DistributionFigures> kDistributionPrincipalRow{
    {u"Label5", u"（分配後元本基準価額）", {1080, 1680}, u"lblCBL", {3120, 1680, 1335, 255},
     u"分配後元本基準価額"},
    &DistributionFigures::principalAfter};

inline constexpr std::array<StatementRow<DistributionFigures>, 5> kDistributionRows{
    kDistributionTaxableRow, kDistributionNonTaxableRow, kDistributionTaxRow,
    kDistributionNetRow, kDistributionPrincipalRow};

inline constexpr StatementDecl<DistributionFigures> kDistributionStatement{
    {u"frmDivShow", u"Miroven-解約明細", u":/icons/distribution_statement.svg",
     {2415, 5490, 4680, 2115}, true},
    kDistributionRows,
    {3480, 240, 975, 375}};

// Under today's rules the two taxes follow 税金.
inline constexpr std::array<StatementRow<DistributionFigures>, 7> kDistributionCurrentRows{
    kDistributionTaxableRow, kDistributionNonTaxableRow, kDistributionTaxRow,
    StatementRow<DistributionFigures>{kIncomeTaxLayout, &DistributionFigures::incomeTax},
    StatementRow<DistributionFigures>{kResidentTaxLayout, &DistributionFigures::residentTax},
    kDistributionNetRow, kDistributionPrincipalRow};

inline constexpr StatementDecl<DistributionFigures> kDistributionCurrentStatement{
    kDistributionStatement.window, kDistributionCurrentRows, kDistributionStatement.okAt};

[[nodiscard]] constexpr const StatementDecl<DistributionFigures>&
distributionStatementDecl(RuleSet rules)
{
    return rules == RuleSet::Current ? kDistributionCurrentStatement : kDistributionStatement;
}
