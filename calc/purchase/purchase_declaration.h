#pragma once

#include "calc/declaration.h"

#include <array>

// The purchase calculator as data.

inline constexpr BoxDecl kPurchaseIM{
    .name = u"txtIM",
    .labelName = u"Label1",
    .caption = u"購入資金",
    .tooltip = u"購入のために支払う金額です",
    .labelAt = {240, 720},
    .boxAt = {1560, 720, 1335, 270},
    .initialText = u"0",
    .align = BoxAlign::Left,
    .field = &CalcRecord::IM,
    .missingCode = 1,
    .zeroIsMissing = true,
    .tabIndex = 1,
};
inline constexpr BoxDecl kPurchaseFP1{
    .name = u"txtFP1",
    .labelName = u"Label2",
    .caption = u"販売手数料(%)",
    .tooltip = u"販売手数料を%で入力してください",
    .labelAt = {240, 1680},
    .boxAt = {1560, 1680, 495, 270},
    .initialText = u"3",
    .align = BoxAlign::Right,
    .field = &CalcRecord::FP1,
    .missingCode = 3,
    .zeroIsMissing = true,
    .tabIndex = 3,
};
// The tax may be zero.
inline constexpr BoxDecl kPurchaseFP2{
    .name = u"txtFP2",
    .labelName = u"Label3",
    .caption = u"消費税(%)",
    .tooltip = u"消費税率です",
    .labelAt = {240, 2040},
    .boxAt = {1560, 2040, 495, 270},
    .initialText = u"5",
    .align = BoxAlign::Right,
    .field = &CalcRecord::FP2,
    .missingCode = 4,
    .zeroIsMissing = false,
    .tabIndex = 4,
};
inline constexpr BoxDecl kPurchaseBL{
    .name = u"txtBL",
    .labelName = u"Label4",
    .caption = u"基準価額",
    .tooltip = u"10,000口当たりの基準価額を入力してください",
    .labelAt = {240, 1200},
    .boxAt = {1560, 1200, 1335, 270},
    .initialText = u"0",
    .align = BoxAlign::Left,
    .field = &CalcRecord::BL,
    .missingCode = 2,
    .zeroIsMissing = true,
    .tabIndex = 2,
};

// In reading order, which is also the order they are tested for a missing input.
inline constexpr std::array<const BoxDecl*, 4> kPurchaseBoxes{
    &kPurchaseIM, &kPurchaseFP1, &kPurchaseFP2, &kPurchaseBL};

inline constexpr InputWindowDecl kPurchaseWindow{
    {u"frmBuy", u"Miroven-購入時", u":/icons/purchase.svg", {2385, 3510, 4680, 2640}, false},
    kPurchaseBoxes,
    {3480, 240, 1095, 375},
    {3480, 720, 1095, 375}};

// The fee-coverage option, which is the purchase window's own; it comes first in the
// tab order.
inline constexpr OptionDecl kFeeCoverageOption{
    .name = u"optChoice",
    .caption = u"手数料も購入資金でカバーする",
    .tooltip = u"手数料が購入資金に含まれるかどうかです",
    .at = {240, 240, 2895, 375},
};

// The purchase statement's figures, whole yen or whole units.
struct PurchaseFigures {
    std::int64_t units = 0;
    std::int64_t amount = 0;
    std::int64_t fee = 0;
    std::int64_t total = 0;
};

inline constexpr StatementRow<PurchaseFigures> kPurchaseUnitsRow{
    {.captionName = u"Label2", .caption = u"購入口数", .captionAt = {120, 120},
     .valueName = u"lblOA", .valueAt = {1200, 120, 1455, 255}, .figureName = u"購入口数"},
    &PurchaseFigures::units};
inline constexpr StatementRow<PurchaseFigures> kPurchaseAmountRow{
    {.captionName = u"Label3", .caption = u"（金額）", .captionAt = {120, 480},
     .valueName = u"lblIM", .valueAt = {1200, 480, 1455, 255}, .figureName = u"金額"},
    &PurchaseFigures::amount};
inline constexpr StatementRow<PurchaseFigures> kPurchaseFeeRow{
    {.captionName = u"Label5", .caption = u"手数料", .captionAt = {120, 840},
     .valueName = u"lblFP", .valueAt = {1200, 840, 1455, 255}, .figureName = u"手数料"},
    &PurchaseFigures::fee};
inline constexpr StatementRow<PurchaseFigures> kPurchaseTotalRow{
    {.captionName = u"Label1", .caption = u"総投資額", .captionAt = {240, 1320},
     .valueName = u"lblTI", .valueAt = {1200, 1320, 1455, 255}, .figureName = u"総投資額"},
    &PurchaseFigures::total};

inline constexpr std::array<StatementRow<PurchaseFigures>, 4> kPurchaseRows{
    kPurchaseUnitsRow, kPurchaseAmountRow, kPurchaseFeeRow, kPurchaseTotalRow};

inline constexpr StatementDecl<PurchaseFigures> kPurchaseStatement{
    {u"frmBuyShow", u"Miroven-購入明細", u":/icons/purchase_statement.svg",
     {2385, 6525, 3975, 1710}, false},
    kPurchaseRows,
    {2880, 240, 975, 375}};
