#pragma once

#include "calc/declaration.h"

#include <array>

// The redemption calculator as data.

inline constexpr BoxDecl kRedemptionCBL{
    u"txtCBL", u"Label1", u"元本の基準価額", u"10,000口当たりの基準価額を入力してください",
    {240, 120}, {2280, 120, 1095, 270}, u"0", BoxAlign::Left,
    &CalcRecord::CBL, 9, true};
inline constexpr BoxDecl kRedemptionNBL{
    u"txtNBL", u"Label2", u"現在の基準価額", u"10,000口当たりの現在の基準価額を入力してください",
    {240, 480}, {2280, 480, 1095, 270}, u"0", BoxAlign::Left,
    &CalcRecord::NBL, 10, true};
inline constexpr BoxDecl kRedemptionOA{
    u"txtOA", u"Label3", u"所有口数", u"解約時の所有口数を入力して下さい",
    {240, 840}, {2280, 840, 1095, 270}, u"0", BoxAlign::Left,
    &CalcRecord::OA, 11, true};
// A retention of 0 is a valid rate.
inline constexpr BoxDecl kRedemptionFee{
    u"txtFee", u"Label4", u"信託留保(%)", u"信託留保率を％で入力してください",
    {240, 1200}, {2280, 1200, 615, 270}, u"0.3", BoxAlign::Right,
    &CalcRecord::RetentionPercent, 12, false};

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
};

inline constexpr StatementRow<RedemptionFigures> kRedemptionValuationRow{
    {u"Label1", u"評価額", {240, 120}, u"lblIM", {1080, 120, 1335, 255}, u"評価額"},
    &RedemptionFigures::valuation};
inline constexpr StatementRow<RedemptionFigures> kRedemptionTaxRow{
    {u"Label2", u"税金", {240, 480}, u"lblTax", {1080, 480, 1335, 255}, u"税金"},
    &RedemptionFigures::tax};
inline constexpr StatementRow<RedemptionFigures> kRedemptionRetentionRow{
    {u"Label3", u"信託留保額", {0, 840}, u"lblFee", {1080, 840, 1335, 255}, u"信託留保額"},
    &RedemptionFigures::retention};
inline constexpr StatementRow<RedemptionFigures> kRedemptionCashRow{
    {u"Label4", u"手取り現金", {0, 1320}, u"lblGain", {1080, 1320, 1335, 255}, u"手取り現金"},
    &RedemptionFigures::cash};

inline constexpr std::array<StatementRow<RedemptionFigures>, 4> kRedemptionRows{
    kRedemptionValuationRow, kRedemptionTaxRow, kRedemptionRetentionRow, kRedemptionCashRow};

inline constexpr StatementDecl<RedemptionFigures> kRedemptionStatement{
    {u"frmWithdrawShow", u"Miroven-解約明細", u":/icons/redemption_statement.svg",
     {2385, 5625, 3930, 1680}, false},
    kRedemptionRows,
    {2760, 120, 975, 375}};
