#pragma once

#include "ledger.h"

#include <QStringView>

#include <array>
#include <cstddef>

// The ledger as data: the columns a file of events holds, the events by name, the figures
// each row gains and the yearly report's columns. Reading a header, reading a row,
// writing the figures, the 年末精算 row, the report and --help all come from here.

namespace ledger {

// The input columns, in the order the working lists a row's cells.
enum class Column { Date, Fund, Account, Event, Units, Amount, Nav, Fee, FeeRate, Distribution, Retention,
                    Principal, Cost, Settlement, RedemptionPrice, Returned, Broker };
inline constexpr std::size_t kColumnCount = 17;

// How a column's cell is read.
enum class CellReading {
    Date,      // YYYY-MM-DD or YYYY/MM/DD
    Name,      // the fund's name, as written
    Account,   // 特定 (or blank) or NISA
    EventName, // one of kEvents, in Japanese or English
    Whole,     // whole yen or units
    Cents,     // a price per 10,000 units, to 0.01 yen
    Percent,   // a percentage, to 0.001 %
};

struct ColumnDecl {
    Column column;
    QStringView code;    // the column's name in a header written by hand
    QStringView caption; // and in Japanese
    CellReading reading;
    bool required;
    QStringView note = {}; // what --help adds after the caption; may be empty
    // The event's member a figure's cell fills, by its reading.
    CompactOptional<Integer> Event::*whole = nullptr;
    CompactOptional<Currency> Event::*cents = nullptr;
    CompactOptional<DecimalRate> Event::*percent = nullptr;
};

inline constexpr std::array<ColumnDecl, kColumnCount> kColumns{{
    {Column::Date, u"date", u"受渡日", CellReading::Date, true,
     u"YYYY-MM-DD か YYYY/MM/DD、2009 年以降、前の行より前と --as-of より後は不可"},
    {Column::Fund, u"fund", u"銘柄", CellReading::Name, true, u""},
    {Column::Account, u"account", u"口座", CellReading::Account, false, u"特定（空欄も）、一般、NISA、旧NISA か 特定/一般"},
    {Column::Event, u"event", u"取引", CellReading::EventName, true, u""},
    {Column::Units, u"units", u"口数", CellReading::Whole, false, u"解約と払出で空欄は全部", &Event::units},
    {Column::Amount, u"amount", u"金額", CellReading::Whole, false,
     u"買付の約定金額で口数の代わり、譲渡損益は符号つき", &Event::amount},
    {Column::Nav, u"nav", u"基準価額", CellReading::Whole, false, u"1万口当たり。分配と再投資は分配落ち後",
     &Event::nav},
    {Column::Fee, u"fee", u"手数料", CellReading::Whole, false, u"円、消費税込み", &Event::fee},
    {Column::FeeRate, u"fee_rate", u"手数料率(%)", CellReading::Percent, false, u"手数料の代わり、消費税込み",
     nullptr, nullptr, &Event::feeRate},
    {Column::Distribution, u"distribution", u"分配金(1万口当たり)", CellReading::Whole, false, u"税引前",
     &Event::distribution},
    {Column::Retention, u"retention", u"信託財産留保額(%)", CellReading::Percent, false, u"", nullptr, nullptr,
     &Event::retention},
    {Column::Principal, u"principal", u"個別元本", CellReading::Cents, false, u"残高で。0.01 円まで", nullptr,
     &Event::principal},
    {Column::Cost, u"cost", u"取得単価", CellReading::Cents, false, u"残高で。0.01 円まで、空欄は個別元本", nullptr,
     &Event::cost},
    {Column::Settlement, u"settlement", u"受渡金額", CellReading::Whole, false,
     u"買付で支払った総額。手数料はここから", &Event::settlement},
    {Column::RedemptionPrice, u"redemption_price", u"解約価額", CellReading::Whole, false,
     u"1万口当たり。基準価額と信託財産留保額の代わり", &Event::redemptionPrice},
    {Column::Returned, u"returned", u"元本払戻金(1万口当たり)", CellReading::Whole, false,
     u"分配と再投資で、お知らせの内訳どおり", &Event::returned},
    {Column::Broker, u"broker", u"証券会社", CellReading::Name, false, u"空欄は一つの証券会社"},
}};

[[nodiscard]] constexpr const ColumnDecl& columnDecl(Column column)
{
    return kColumns[static_cast<std::size_t>(column)];
}

// The events a row may name. The names are UTF-8, so that a row is matched by its bytes.
struct EventDecl {
    EventKind kind;
    const char* japanese;
    const char* english;
    QStringView note; // what --help adds after the names; may be empty
};

inline constexpr std::array<EventDecl, 8> kEvents{{
    {EventKind::Balance, "残高", "open", u""},
    {EventKind::Purchase, "買付", "buy", u""},
    {EventKind::Distribution, "分配", "distribution", u""},
    {EventKind::Reinvestment, "再投資", "reinvest", u""},
    {EventKind::Redemption, "解約", "redemption", u""},
    {EventKind::Gain, "譲渡損益", "gain", u"ほかの有価証券の損益、特定口座だけ、金額に。銘柄は空欄でも"},
    {EventKind::Dividend, "配当", "dividend", u"ほかの有価証券の配当、特定口座だけ、金額に。銘柄は空欄でも"},
    {EventKind::Transfer, "払出", "transfer", u"NISA・旧NISA から特定口座へ"},
}};

// The event column of the row the book writes for a year-end settlement, and for one
// of a year not over by --as-of.
inline constexpr QStringView kSettlementEvent = u"年末精算";
inline constexpr QStringView kProvisionalSettlementEvent = u"年末精算（見込み）";

// The accounts by the names a row and the report give them.
[[nodiscard]] constexpr QStringView accountName(Account account)
{
    switch (account) {
    case Account::Specified:
        break;
    case Account::Nisa:
        return u"NISA";
    case Account::General:
        return u"一般";
    case Account::OldNisa:
        return u"旧NISA";
    }
    return u"特定";
}

// Where an output figure comes from.
enum class FigureSource {
    HeldUnits,     // the holding as shown after the event
    HeldPrincipal, // (blank for an empty holding and for events without one)
    HeldCost,
    EventFigure,   // one of the event's Figures
    YearGain,      // the 特定口座's 年内譲渡損益 (blank in NISA)
    Message,       // why the row was refused; blank when it was applied
};

struct FigureDecl {
    QStringView caption;
    FigureSource source;
    std::optional<Integer> Figures::*figure = nullptr;
    QStringView note = {}; // what --help adds after the caption; may be empty
};

// What each row gains after its input columns, in this order.
inline constexpr std::array<FigureDecl, 16> kFigures{{
    {u"保有口数", FigureSource::HeldUnits},
    {u"個別元本", FigureSource::HeldPrincipal},
    {u"取得単価", FigureSource::HeldCost},
    {u"約定金額", FigureSource::EventFigure, &Figures::contractAmount},
    {u"手数料", FigureSource::EventFigure, &Figures::fee},
    {u"普通分配金", FigureSource::EventFigure, &Figures::ordinary},
    {u"元本払戻金", FigureSource::EventFigure, &Figures::returned},
    {u"再投資口数", FigureSource::EventFigure, &Figures::reinvestedUnits},
    {u"解約代金", FigureSource::EventFigure, &Figures::proceeds},
    {u"取得費", FigureSource::EventFigure, &Figures::acquisitionCost},
    {u"譲渡損益", FigureSource::EventFigure, &Figures::gain},
    {u"所得税及び復興特別所得税", FigureSource::EventFigure, &Figures::incomeTax},
    {u"住民税", FigureSource::EventFigure, &Figures::residentTax},
    {u"受渡金額", FigureSource::EventFigure, &Figures::settlement, u"受け取りは正、支払いは負、還付は税が負"},
    {u"年内譲渡損益", FigureSource::YearGain, nullptr, u"特定口座の今年の譲渡損益の合計"},
    {u"message", FigureSource::Message, nullptr, u"記帳できない行の理由。その行は保有を変えません"},
}};

// The yearly report: one line per account and year, in the order of the
// 特定口座年間取引報告書, after the year and the account.
inline constexpr QStringView kReportYearCaption = u"年";
inline constexpr QStringView kReportAccountCaption = u"口座";
// The paper's two sections.
enum class ReportSection { Gains, Dividends };
// The accounts a column has a figure for; the other accounts' lines leave it blank.
enum class ReportAccounts {
    Every,     // what was sold, bought and received
    Withheld,  // the tax withheld on distributions: 特定 and 一般
    Specified, // what the 特定口座 withholds on gains and settles at the year's end
};
struct ReportDecl {
    QStringView caption;
    ExactYen YearReport::*sum;
    ReportSection section;
    ReportAccounts accounts = ReportAccounts::Every;
};
inline constexpr std::array<ReportDecl, 15> kReportColumns{{
    {u"譲渡の対価の額", &YearReport::proceeds, ReportSection::Gains},
    {u"取得費及び譲渡に要した費用の額等", &YearReport::costs, ReportSection::Gains},
    {u"差引金額（譲渡所得等の金額）", &YearReport::net, ReportSection::Gains},
    {u"源泉徴収税額（譲渡・所得税）", &YearReport::gainIncomeTax, ReportSection::Gains, ReportAccounts::Specified},
    {u"源泉徴収税額（譲渡・住民税）", &YearReport::gainResidentTax, ReportSection::Gains, ReportAccounts::Specified},
    {u"配当等の額", &YearReport::dividends, ReportSection::Dividends},
    {u"元本払戻金（特別分配金）の額", &YearReport::returned, ReportSection::Dividends},
    {u"源泉徴収税額（配当等・所得税）", &YearReport::dividendIncomeTax, ReportSection::Dividends,
     ReportAccounts::Withheld},
    {u"配当割額", &YearReport::dividendResidentTax, ReportSection::Dividends, ReportAccounts::Withheld},
    {u"譲渡損失の金額", &YearReport::lossSetOff, ReportSection::Dividends, ReportAccounts::Specified},
    {u"差引金額（配当等）", &YearReport::dividendNet, ReportSection::Dividends, ReportAccounts::Specified},
    {u"納付税額（所得税）", &YearReport::paidIncomeTax, ReportSection::Dividends, ReportAccounts::Specified},
    {u"納付税額（住民税）", &YearReport::paidResidentTax, ReportSection::Dividends, ReportAccounts::Specified},
    {u"還付税額（所得税）", &YearReport::refundIncomeTax, ReportSection::Dividends, ReportAccounts::Specified},
    {u"還付税額（住民税）", &YearReport::refundResidentTax, ReportSection::Dividends, ReportAccounts::Specified},
}};

// Whether an account's line of the report has a figure in the column: NISA and 旧NISA
// withhold nothing, and a 一般口座's gains are declared by the investor, never netted.
[[nodiscard]] constexpr bool reportApplies(const ReportDecl& column, Account account)
{
    switch (column.accounts) {
    case ReportAccounts::Every:
        return true;
    case ReportAccounts::Withheld:
        return account == Account::Specified || account == Account::General;
    case ReportAccounts::Specified:
        break;
    }
    return account == Account::Specified;
}

} // namespace ledger
