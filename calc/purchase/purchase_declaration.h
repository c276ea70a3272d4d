#pragma once

#include "calc/declaration.h"

#include <array>

// The purchase calculator as data.

inline constexpr BoxDecl kPurchaseIM{
    u"txtIM", u"Label1", u"購入資金", u"購入のために支払う金額です",
    {240, 720}, {1560, 720, 1335, 270}, u"0", BoxAlign::Left,
    &CalcRecord::IM, 1, true};
inline constexpr BoxDecl kPurchaseFP1{
    u"txtFP1", u"Label2", u"販売手数料(%)", u"販売手数料を%で入力してください",
    {240, 1680}, {1560, 1680, 495, 270}, u"3", BoxAlign::Right,
    &CalcRecord::FP1, 3, true};
// The tax may be zero.
inline constexpr BoxDecl kPurchaseFP2{
    u"txtFP2", u"Label3", u"消費税(%)", u"消費税率です",
    {240, 2040}, {1560, 2040, 495, 270}, u"5", BoxAlign::Right,
    &CalcRecord::FP2, 4, false};
inline constexpr BoxDecl kPurchaseBL{
    u"txtBL", u"Label4", u"基準価額", u"10,000口当たりの基準価額を入力してください",
    {240, 1200}, {1560, 1200, 1335, 270}, u"0", BoxAlign::Left,
    &CalcRecord::BL, 2, true};

// In reading order, which is also the order they are tested for a missing input.
inline constexpr std::array<const BoxDecl*, 4> kPurchaseBoxes{
    &kPurchaseIM, &kPurchaseFP1, &kPurchaseFP2, &kPurchaseBL};

inline constexpr InputWindowDecl kPurchaseWindow{
    {u"frmBuy", u"Miroven-購入時", u":/icons/purchase.svg", {2385, 3510, 4680, 2640}, false},
    kPurchaseBoxes,
    {3480, 240, 1095, 375},
    {3480, 720, 1095, 375}};

// The fee-coverage option, which is the purchase window's own.
inline constexpr QStringView kFeeCoveredCaption = u"手数料も購入資金でカバーする";
inline constexpr QStringView kFeeCoveredTooltip = u"手数料が購入資金に含まれるかどうかです";

// The purchase statement's figures, whole yen or whole units.
struct PurchaseFigures {
    std::int64_t units = 0;
    std::int64_t amount = 0;
    std::int64_t fee = 0;
    std::int64_t total = 0;
};

inline constexpr StatementRow<PurchaseFigures> kPurchaseUnitsRow{
    {u"Label2", u"購入口数", {120, 120}, u"lblOA", {1200, 120, 1455, 255}, u"購入口数"},
    &PurchaseFigures::units};
inline constexpr StatementRow<PurchaseFigures> kPurchaseAmountRow{
    {u"Label3", u"（金額）", {120, 480}, u"lblIM", {1200, 480, 1455, 255}, u"金額"},
    &PurchaseFigures::amount};
inline constexpr StatementRow<PurchaseFigures> kPurchaseFeeRow{
    {u"Label5", u"手数料", {120, 840}, u"lblFP", {1200, 840, 1455, 255}, u"手数料"},
    &PurchaseFigures::fee};
inline constexpr StatementRow<PurchaseFigures> kPurchaseTotalRow{
    {u"Label1", u"総投資額", {240, 1320}, u"lblTI", {1200, 1320, 1455, 255}, u"総投資額"},
    &PurchaseFigures::total};

inline constexpr std::array<StatementRow<PurchaseFigures>, 4> kPurchaseRows{
    kPurchaseUnitsRow, kPurchaseAmountRow, kPurchaseFeeRow, kPurchaseTotalRow};

inline constexpr StatementDecl<PurchaseFigures> kPurchaseStatement{
    {u"frmBuyShow", u"Miroven-購入明細", u":/icons/purchase_statement.svg",
     {2385, 6525, 3975, 1710}, false},
    kPurchaseRows,
    {2880, 240, 975, 375}};
