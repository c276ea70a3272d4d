#pragma once

#include "calc/declaration.h"
#include "calc/todays_tax.h"
#include "core/fund_rules.h"

#include <array>

// The redemption calculator as data.

inline constexpr BoxDecl kRedemptionCBL{
    .name = u"txtCBL",
    .labelName = u"Label1",
    .caption = u"元本の基準価額",
    .tooltip = u"10,000口当たりの基準価額を入力してください",
    .labelAt = {240, 120},
    .boxAt = {2280, 120, 1095, 270},
    .initialText = u"0",
    .align = BoxAlign::Left,
    .field = &CalcRecord::CBL,
    .missingCode = 9,
    .zeroIsMissing = true,
    .tabIndex = 0,
};
inline constexpr BoxDecl kRedemptionNBL{
    .name = u"txtNBL",
    .labelName = u"Label2",
    .caption = u"現在の基準価額",
    .tooltip = u"10,000口当たりの現在の基準価額を入力してください",
    .labelAt = {240, 480},
    .boxAt = {2280, 480, 1095, 270},
    .initialText = u"0",
    .align = BoxAlign::Left,
    .field = &CalcRecord::NBL,
    .missingCode = 10,
    .zeroIsMissing = true,
    .tabIndex = 1,
};
inline constexpr BoxDecl kRedemptionOA{
    .name = u"txtOA",
    .labelName = u"Label3",
    .caption = u"所有口数",
    .tooltip = u"解約時の所有口数を入力して下さい",
    .labelAt = {240, 840},
    .boxAt = {2280, 840, 1095, 270},
    .initialText = u"0",
    .align = BoxAlign::Left,
    .field = &CalcRecord::OA,
    .missingCode = 11,
    .zeroIsMissing = true,
    .tabIndex = 2,
};
// A retention of 0 is a valid rate.
inline constexpr BoxDecl kRedemptionFee{
    .name = u"txtFee",
    .labelName = u"Label4",
    .caption = u"信託留保(%)",
    .tooltip = u"信託留保率を％で入力してください",
    .labelAt = {240, 1200},
    .boxAt = {2280, 1200, 615, 270},
    .initialText = u"0.3",
    .align = BoxAlign::Right,
    .field = &CalcRecord::RetentionPercent,
    .missingCode = 12,
    .zeroIsMissing = false,
    .tabIndex = 3,
};

// In reading order, which is also the order they are tested for a missing input.
inline constexpr std::array<const BoxDecl*, 4> kRedemptionBoxes{
    &kRedemptionCBL, &kRedemptionNBL, &kRedemptionOA, &kRedemptionFee};

inline constexpr InputWindowDecl kRedemptionWindow{
    {u"frmWithdraw", u"Miroven-解約", u":/icons/redemption.svg", {2385, 3540, 4785, 1680}, false},
    kRedemptionBoxes,
    {3600, 120, 1095, 375},
    {3600, 600, 1095, 375}};

// The redemption statement's figures, whole yen.
struct RedemptionFigures {
    std::int64_t valuation = 0;
    std::int64_t tax = 0;
    std::int64_t retention = 0;
    std::int64_t cash = 0;
    std::int64_t incomeTax = 0;   // under today's rules only
    std::int64_t residentTax = 0; // under today's rules only
};

inline constexpr StatementRow<RedemptionFigures> kRedemptionValuationRow{
    {.captionName = u"Label1", .caption = u"評価額", .captionAt = {240, 120},
     .valueName = u"lblIM", .valueAt = {1080, 120, 1335, 255}, .figureName = u"評価額"},
    &RedemptionFigures::valuation};
inline constexpr StatementRow<RedemptionFigures> kRedemptionTaxRow{
    {.captionName = u"Label2", .caption = u"税金", .captionAt = {240, 480},
     .valueName = u"lblTax", .valueAt = {1080, 480, 1335, 255}, .figureName = u"税金"},
    &RedemptionFigures::tax};
inline constexpr StatementRow<RedemptionFigures> kRedemptionRetentionRow{
    {.captionName = u"Label3", .caption = u"信託留保額", .captionAt = {0, 840},
     .valueName = u"lblFee", .valueAt = {1080, 840, 1335, 255}, .figureName = u"信託留保額"},
    &RedemptionFigures::retention};
inline constexpr StatementRow<RedemptionFigures> kRedemptionCashRow{
    {.captionName = u"Label4", .caption = u"手取り現金", .captionAt = {0, 1320},
     .valueName = u"lblGain", .valueAt = {1080, 1320, 1335, 255}, .figureName = u"手取り現金"},
    &RedemptionFigures::cash};

inline constexpr std::array<StatementRow<RedemptionFigures>, 4> kRedemptionRows{
    kRedemptionValuationRow, kRedemptionTaxRow, kRedemptionRetentionRow, kRedemptionCashRow};

inline constexpr StatementDecl<RedemptionFigures> kRedemptionStatement{
    {u"frmWithdrawShow", u"Miroven-解約明細", u":/icons/redemption_statement.svg",
     {2385, 5625, 3930, 1680}, false},
    kRedemptionRows,
    {2760, 120, 975, 375}};

// Under today's rules the two taxes follow 税金.
inline constexpr std::array<StatementRow<RedemptionFigures>, 6> kRedemptionCurrentRows{
    kRedemptionValuationRow, kRedemptionTaxRow,
    StatementRow<RedemptionFigures>{kIncomeTaxLayout, &RedemptionFigures::incomeTax},
    StatementRow<RedemptionFigures>{kResidentTaxLayout, &RedemptionFigures::residentTax},
    kRedemptionRetentionRow, kRedemptionCashRow};

inline constexpr StatementDecl<RedemptionFigures> kRedemptionCurrentStatement{
    kRedemptionStatement.window, kRedemptionCurrentRows, kRedemptionStatement.okAt};

[[nodiscard]] constexpr const StatementDecl<RedemptionFigures>& redemptionStatementDecl(RuleSet rules)
{
    return rules == RuleSet::Current ? kRedemptionCurrentStatement : kRedemptionStatement;
}
