#pragma once

#include "calc/declaration.h"

#include <array>

// The distribution calculator as data.

inline constexpr BoxDecl kDistributionCBL{
    u"txtCBL", u"Label1", u"元本の基準価額", u"10,000口当たりの元本の基準価額を入力してください",
    {240, 120}, {1920, 120, 1215, 270}, u"0", BoxAlign::Left,
    &CalcRecord::CBL, 5, true};
inline constexpr BoxDecl kDistributionNBL{
    u"txtNBL", u"Label2", u"分配後の基準価額", u"10,000口当たりの分配後基準価額です",
    {240, 480}, {1920, 480, 1215, 270}, u"0", BoxAlign::Left,
    &CalcRecord::NBL, 6, true};
inline constexpr BoxDecl kDistributionDiv{
    u"txtDiv", u"Label3", u"分配金", u"分配金を入力してください",
    {240, 840}, {1920, 840, 1215, 270}, u"0", BoxAlign::Left,
    &CalcRecord::Div, 7, true};
inline constexpr BoxDecl kDistributionOA{
    u"txtOA", u"Label4", u"所有口数", u"分配時に所有している口数です",
    {240, 1200}, {1920, 1200, 1215, 270}, u"0", BoxAlign::Left,
    &CalcRecord::OA, 8, true};

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
};

inline constexpr StatementRow<DistributionFigures> kDistributionTaxableRow{
    {u"Label1", u"課税分配金", {360, 120}, u"lblDiv1", {1800, 120, 1335, 255}, u"課税分配金"},
    &DistributionFigures::taxable};
inline constexpr StatementRow<DistributionFigures> kDistributionNonTaxableRow{
    {u"Label2", u"非課税分配金", {360, 480}, u"lblDiv2", {1800, 480, 1335, 255}, u"非課税分配金"},
    &DistributionFigures::nonTaxable};
inline constexpr StatementRow<DistributionFigures> kDistributionTaxRow{
    {u"Label3", u"税金", {360, 840}, u"lblTax", {1800, 840, 1335, 255}, u"税金"},
    &DistributionFigures::tax};
inline constexpr StatementRow<DistributionFigures> kDistributionNetRow{
    {u"Label4", u"手取分配金", {360, 1320}, u"lblDiv3", {1800, 1320, 1335, 255}, u"手取分配金"},
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
