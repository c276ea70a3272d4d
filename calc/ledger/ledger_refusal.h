#pragma once

#include "core/integer.h"

#include <QDate>
#include <QString>

// Why an event was refused, as data: a kind, the input it names and its figures. The
// text a reader sees is formed in one place, refusalText().

namespace ledger {

// An input a refusal names.
enum class Input {
    Nav,              // 基準価額
    Units,            // 口数
    Amount,           // 金額
    DividendAmount,   // 配当の金額
    Fee,              // 手数料
    FeeRate,          // 手数料率(%)
    Distribution,     // 分配金(1万口当たり)
    Retention,        // 信託財産留保額(%)
    Principal,        // 個別元本
    PrincipalAndCost, // 個別元本と取得単価
    UnitsOrAmount,    // 口数か金額
    Settlement,       // 受渡金額
    RedemptionPrice,  // 解約価額
    Returned,         // 元本払戻金(1万口当たり)
};

enum class RefusalKind {
    Missing,                  // the input is blank
    TooSmall,                 // below the least the input takes (`input`)
    OutsidePercent,           // a percentage outside 0 to 100 (`input`)
    UnitsWithAmount,          // a purchase by units and by amount at once
    FeeWithRate,              // a fee and a fee rate at once
    BuysNothing,              // `value` yen buy less than a unit
    NothingToDistribute,      // a distribution on no units
    DistributionUnitsDiffer,  // a distribution paid on `value` units where `held` are held
    NothingToRedeem,          // a redemption of no units
    NothingToTransfer,        // a 払出 of no units
    RedeemsMoreThanHeld,      // `value` units redeemed of `held`
    TransfersMoreThanHeld,    // `value` units moved of `held`
    GainOutsideSpecified,     // a 譲渡損益 outside the 特定口座
    DividendOutsideSpecified, // a 配当 outside the 特定口座
    TransferFromSpecified,    // a 払出 from the 特定口座
    BeforeFirstYear,          // a 受渡日 before `value`, the first year with rules
    BeforeLast,               // `date` before `last`, the last row applied
    AfterAsOf,                // `date` after `last`, the day the history runs to
    SettlementNeedsUnits,     // a 受渡金額 with a fee rate and no units
    SettlementBelowContract,  // a 受渡金額 of `value` below the 約定金額 `held`
    FeeNotBelowSettlement,    // a fee of `value` leaves nothing of the 受渡金額 `held`
    FeeDisagrees,             // a fee of `value` where 受渡金額 less 約定金額 is `held`
    RedemptionPriceWithRetention, // a 解約価額 and a 信託財産留保額 at once
    ReturnedAboveDistribution,    // a 元本払戻金 of `value` per 10,000 units above the distribution `held`
    HeldInNeither,            // 特定/一般: neither account holds the fund
    HeldInBoth,               // 特定/一般: both do
    Overflow,                 // `figure` beyond what can be held
    Invalid,                  // an operation without a value (a division by zero)
};

struct Refusal {
    RefusalKind kind = RefusalKind::Invalid;
    Input input = Input::Nav;
    Integer value = 0;
    Integer held = 0;
    QDate date{};
    QDate last{};
    QString figure{}; // as the output names it

    friend bool operator==(const Refusal&, const Refusal&) = default;
};

// The refusal as a reader sees it: "解約する口数 10001 が保有口数 10000 を超えています".
[[nodiscard]] QString refusalText(const Refusal& refusal);

} // namespace ledger
