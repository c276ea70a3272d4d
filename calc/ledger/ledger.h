#pragma once

#include "ledger_refusal.h"
#include "ledger_terms.h"

#include "core/compact_optional.h"
#include "core/outcome.h"
#include "core/trace.h"

#include <QDate>
#include <QString>

#include <optional>

// A holding's ledger: the events of an investment trust holding, replayed one at a time,
// each giving the figures a broker's statement shows. Pure rules: an event takes the
// holding's state and the 特定口座's year and gives their new states and the event's
// figures, or a refusal that changes nothing (the caller keeps the old states).

namespace ledger {

// 特定; NISA (a plain NISA, and the NISA of 2024 on); 一般; 旧NISA (the 一般NISA and
// つみたてNISA of 2014-2023, kept apart from the NISA of 2024 on).
enum class Account { Specified, Nisa, General, OldNisa };

// An account as the book keys it: its kind and the broker that keeps it (blank: the one
// broker of a file). Each broker's 特定口座 withholds on a year of its own.
struct AccountId {
    Account kind = Account::Specified;
    QString broker;

    // Every event compares its account; the broker is most often blank.
    friend bool operator==(const AccountId& a, const AccountId& b)
    {
        return a.kind == b.kind && a.broker.size() == b.broker.size() && (a.broker.isEmpty() || a.broker == b.broker);
    }
    friend bool operator<(const AccountId& a, const AccountId& b)
    {
        if (a.kind != b.kind)
            return a.kind < b.kind;
        return a.broker.isEmpty() || b.broker.isEmpty() ? a.broker.size() < b.broker.size() : a.broker < b.broker;
    }
};

enum class EventKind {
    Balance,      // 残高: a holding brought in as a statement shows it
    Purchase,     // 買付
    Distribution, // 分配: paid out
    Reinvestment, // 再投資
    Redemption,   // 解約
    Gain,         // 譲渡損益: a realised gain or loss of another security in the 特定口座
    Dividend,     // 配当: a dividend or 普通分配金 of another security in the 特定口座
    Transfer,     // 払出: a NISA holding moved to the 特定口座
};

// One event as read: every figure it may carry, none when its cell was blank.
struct Event {
    QDate date;
    QString fund;   // blank for another security's 譲渡損益 or 配当
    Account account = Account::Specified;
    QString broker; // of the account; blank today
    EventKind kind = EventKind::Purchase;
    CompactOptional<Integer> units;        // 口数
    CompactOptional<Integer> amount;       // 金額: 約定金額 of a purchase by amount, or the 譲渡損益 or 配当
    CompactOptional<Integer> nav;          // 基準価額 per 10,000 units
    CompactOptional<Integer> fee;          // 手数料 in yen
    CompactOptional<DecimalRate> feeRate;  // 手数料率 (%)
    CompactOptional<Integer> distribution; // 分配金 per 10,000 units
    CompactOptional<DecimalRate> retention; // 信託財産留保額 (%)
    CompactOptional<Currency> principal;   // 個別元本 of a 残高, to 0.01 yen
    CompactOptional<Currency> cost;        // 取得単価 of a 残高, to 0.01 yen
    CompactOptional<Integer> settlement;   // 受渡金額 of a 買付: the total paid, as the paper prints it
    CompactOptional<Integer> redemptionPrice; // 解約価額 per 10,000 units, instead of NAV and retention
    CompactOptional<Integer> returned;     // 元本払戻金 per 10,000 units, as the notice prints it
    // 特定/一般: whichever of the 特定口座 and the 一般口座 holds the fund (`account` is then
    // Specified until the book has told which).
    bool specifiedOrGeneral = false;

    [[nodiscard]] AccountId accountId() const { return {account, broker}; }
};

// One fund in one account. The two pools are what the averages are taken of: exact
// sums of units × price, restarted from the rounded figures after a redemption or a
// return of principal.
struct Holding {
    Integer units = 0;
    Currency principal;      // 個別元本 per 10,000 units
    Currency cost;           // 取得単価 per 10,000 units
    ExactYen principalPool;  // behind 個別元本
    ExactYen costPool;       // behind 取得単価: what was paid, fees included

    friend bool operator==(const Holding&, const Holding&) = default;
};

// The 特定口座's calendar year so far.
struct AccountYear {
    int year = 0;
    Integer gain = 0;             // 年内譲渡損益
    Integer withheldIncome = 0;   // withheld on 譲渡 this year: 所得税及び復興特別所得税
    Integer withheldResident = 0; // and 住民税
    Integer dividends = 0;        // 普通分配金 and 配当 this year
    Integer dividendIncome = 0;   // withheld on them: 所得税及び復興特別所得税
    Integer dividendResident = 0; // and 住民税

    friend bool operator==(const AccountYear&, const AccountYear&) = default;
};

// How 個別元本 is averaged on a purchase: from the exact sums since the last reset, or
// from the previous 個別元本 as printed.
enum class PrincipalAverage { Pool, Printed };

// The roundings brokers do differently.
struct Roundings {
    Rounding principal = Rounding::Up;  // 個別元本 to the yen
    PriceStep cost = PriceStep::Yen;    // 取得単価: up to the yen, or half up to 0.01 yen
    Rounding units = Rounding::Up;      // units bought by amount or reinvested
    // Units by amount (and reinvested) as brokers fill an order by amount: the whole units
    // the amount pays for, and one more while their 約定金額 rounded half up is below it.
    bool brokerUnits = false;
    std::optional<Rounding> retention = Rounding::Down; // 信託財産留保額 per 10,000 units; none: exact
    Rounding distribution = Rounding::Down; // units × distribution ÷ 10,000 to the yen
    Rounding contract = Rounding::Down;     // 約定金額 of a 買付 by units
    PrincipalAverage average = PrincipalAverage::Pool;
};

// What an event forms; none where the event forms nothing.
struct Figures {
    std::optional<Integer> contractAmount; // 約定金額
    std::optional<Integer> fee;            // 手数料
    std::optional<Integer> ordinary;       // 普通分配金
    std::optional<Integer> returned;       // 元本払戻金
    std::optional<Integer> reinvestedUnits; // 再投資口数
    std::optional<Integer> proceeds;       // 解約代金
    std::optional<Integer> acquisitionCost; // 取得費
    std::optional<Integer> gain;           // 譲渡損益
    std::optional<Integer> incomeTax;      // 所得税及び復興特別所得税 (a refund below 0)
    std::optional<Integer> residentTax;    // 住民税
    std::optional<Integer> settlement;     // 受渡金額: cash received above 0, paid below
};

struct Applied {
    Holding holding;  // the event's holding after it; unchanged by 譲渡損益 and 配当
    AccountYear year; // the 特定口座's year after the event
    Figures figures;
    Holding target;   // of a 払出: the 特定口座's holding of the same fund after it
};

// Applies `event` to its holding and the 特定口座's year. The working goes to `trace`
// when there is one, up to the step that failed when refused. A 払出 also takes the
// 特定口座's holding of the same fund, `target`. Keeping the events in the order of
// their dates is the book's (book.h).
[[nodiscard]] Outcome<Applied, Refusal> applyEvent(const Holding& holding, const AccountYear& year,
                                                   const Event& event, const Roundings& roundings,
                                                   Trace* trace = nullptr, const Holding& target = {});

// Whether an event touches a holding of its own (譲渡損益 and 配当 do not).
[[nodiscard]] constexpr bool touchesHolding(EventKind kind)
{
    return kind != EventKind::Gain && kind != EventKind::Dividend;
}

// The year-end settlement of a 特定口座 with 配当等の受入れ: a year that ends with a net
// loss sets it against the year's 普通分配金 and 配当, and what was withheld on them
// above the tax on what is left is refunded (negative taxes). Nothing when nothing is
// refunded, without `dividendNetting`, or in a year whose 特定口座 did not net them yet.
struct Settlement {
    int year = 0;
    Integer incomeTax = 0;
    Integer residentTax = 0;
};
[[nodiscard]] std::optional<Settlement> settleYear(const AccountYear& year, bool dividendNetting,
                                                   Trace* trace = nullptr);
// Whether a 特定口座's `year` sets a loss against its 配当等 (from 2010, unless the
// account does not take them in).
[[nodiscard]] bool netsDividends(int year, bool dividendNetting);

// One line of the 特定口座年間取引報告書 (or its counterpart for another account, with
// what does not apply left 0): the sums of an account's year, each in yen.
struct YearReport {
    // 譲渡
    ExactYen proceeds;        // 譲渡の対価の額: 解約代金
    ExactYen costs;           // 取得費及び譲渡に要した費用の額等: 取得費
    ExactYen net;             // 差引金額（譲渡所得等の金額）: 譲渡損益, 譲渡損益 rows included
    ExactYen gainIncomeTax;   // 源泉徴収税額（譲渡・所得税）, net of the year's refunds
    ExactYen gainResidentTax; // 源泉徴収税額（譲渡・住民税）
    // 配当等
    ExactYen dividends;           // 配当等の額: 普通分配金 and 配当
    ExactYen returned;            // 元本払戻金（特別分配金）の額
    ExactYen dividendIncomeTax;   // 源泉徴収税額（配当等・所得税）, as withheld
    ExactYen dividendResidentTax; // 配当割額
    ExactYen lossSetOff;          // 譲渡損失の金額 set against the 配当等 at the year's end
    ExactYen dividendNet;         // 差引金額（配当等）
    ExactYen paidIncomeTax;       // 納付税額（所得税）: withheld less refunded
    ExactYen paidResidentTax;     // 納付税額（住民税）
    ExactYen refundIncomeTax;     // 還付税額（所得税）, above 0
    ExactYen refundResidentTax;   // 還付税額（住民税）
};
// An event's figures in its account's line: the taxes on a redemption or a 譲渡損益 in
// the 譲渡 section, those on a distribution or a 配当 in the 配当等 section.
void tally(YearReport& report, Account account, EventKind kind, const Figures& figures);
// A 特定口座's year at its end: the loss set against its 配当等 when the year nets them
// (`netted`), and the refund of its 年末精算, if any.
void settleReport(YearReport& report, const AccountYear& year, bool netted,
                  const std::optional<Settlement>& settlement);

} // namespace ledger
