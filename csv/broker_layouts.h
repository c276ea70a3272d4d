#pragma once

#include "ledger_words.h"

#include "calc/ledger/ledger.h"

#include <QStringView>

#include <array>
#include <cstddef>
#include <optional>
#include <span>

// The brokers' own downloads as data: each layout's broker, its exact header and what
// each of its columns means to the ledger, and the words its rows use. Recognising a
// file, reading its rows and --help all come from here.

namespace broker {

enum class Layout {
    RakutenTrades,        // 楽天 取引履歴（投資信託）
    RakutenDistributions, // 楽天 配当・分配金
    SbiTrades,            // SBI 約定履歴, until 2026-05
    SbiTrades2026,        // SBI 約定履歴, from 2026-05
    SbiDistributions,     // SBI 配当金・分配金
    MonexTrades,          // マネックス 取引履歴
};
inline constexpr std::size_t kLayoutCount = 6;

// What a column means to the ledger.
enum class Field {
    Ignored,
    TradeDate,  // 約定日
    Date,       // 受渡日, or 入金日 of a distribution: the event's date
    Fund,       // the fund's (or a stock's) name
    Course,     // 分配金コース: 再投資型 or 受取型
    Account,
    Action,     // 取引
    Product,    // 商品: a fund or a stock
    Units,
    Price,      // 単価: the NAV, the 解約価額 on a sale, the distribution on a distribution
    Fee,
    Tax,
    Gross,      // a distribution before tax
    Net,        // a distribution after tax
    Settlement, // 受渡金額
    Currency,   // the currency the row is in
};
inline constexpr std::size_t kFieldCount = 16;

struct LayoutColumn {
    QStringView caption;
    Field field;
    bool optional = false; // older downloads lack it
};

// What a row's 取引 means.
enum class Action {
    Purchase,
    Redemption,
    Reinvestment,
    Distribution,
    Transfer,  // 入庫・出庫: a fund moved between accounts, which the ledger takes as 払出
    MoneyFund, // MRF: cash, not a fund holding
};

struct ActionWord {
    QStringView word; // as compared: full-width forms as ASCII, without spaces
    Action action;
    bool prefix = false; // any 取引 that starts with the word
};

struct LayoutDecl {
    Layout layout;
    QStringView broker;
    QStringView name;
    std::span<const LayoutColumn> columns;
    // Every row a fund's trade is named by one of these; a list of distributions has none
    // (each of its rows is a distribution, or a stock's dividend by its 商品).
    std::span<const ActionWord> actions;
    // What the broker does where brokers differ, as its downloads show; none where they
    // do not tell (a command-line option overrides either).
    std::optional<ledger::Rounding> distributionRounding; // units × distribution ÷ 10,000
    bool brokerUnits = false; // an amount order buys floor(A × 10,000 ÷ NAV), one more when that costs less than A
};

inline constexpr LayoutColumn kRakutenTradeColumns[] = {
    {u"約定日", Field::TradeDate},
    {u"受渡日", Field::Date},
    {u"ファンド名", Field::Fund},
    {u"分配金", Field::Course},
    {u"口座", Field::Account},
    {u"取引", Field::Action},
    {u"買付方法", Field::Ignored},
    {u"数量［口］", Field::Units},
    {u"単価", Field::Price},
    {u"経費", Field::Fee},
    {u"為替レート", Field::Ignored},
    {u"受付金額[現地通貨]", Field::Ignored},
    {u"受渡金額/(ポイント利用)[円]", Field::Settlement},
    {u"決済通貨", Field::Currency},
};

inline constexpr LayoutColumn kRakutenDistributionColumns[] = {
    {u"入金日", Field::Date},
    {u"商品", Field::Product},
    {u"口座", Field::Account},
    {u"銘柄コード", Field::Ignored},
    {u"銘柄", Field::Fund},
    {u"受取通貨", Field::Currency, true},
    {u"単価[円/現地通貨]", Field::Price},
    {u"数量[株/口]", Field::Units},
    {u"配当・分配金合計（税引前）[円/現地通貨]", Field::Gross},
    {u"税額合計[円/現地通貨]", Field::Tax},
    {u"受取金額[円/現地通貨]", Field::Net},
};

// SBI's trades until 2026-05 and from then differ in their last column's name alone.
constexpr std::array<LayoutColumn, 14> sbiTradeColumns(QStringView settlement)
{
    return {{
        {u"約定日", Field::TradeDate},
        {u"銘柄", Field::Fund},
        {u"銘柄コード", Field::Ignored},
        {u"市場", Field::Ignored},
        {u"取引", Field::Action},
        {u"期限", Field::Ignored},
        {u"預り", Field::Account},
        {u"課税", Field::Ignored},
        {u"約定数量", Field::Units},
        {u"約定単価", Field::Price},
        {u"手数料/諸経費等", Field::Fee},
        {u"税額", Field::Tax},
        {u"受渡日", Field::Date},
        {settlement, Field::Settlement},
    }};
}
inline constexpr std::array<LayoutColumn, 14> kSbiTradeColumns = sbiTradeColumns(u"受渡金額/決済損益");
inline constexpr std::array<LayoutColumn, 14> kSbiTrade2026Columns = sbiTradeColumns(u"受渡金額");

inline constexpr LayoutColumn kSbiDistributionColumns[] = {
    {u"受渡日", Field::Date},
    {u"口座", Field::Account},
    {u"商品", Field::Product},
    {u"銘柄名", Field::Fund},
    {u"数量", Field::Units},
    {u"受取額(税引後・円)", Field::Net},
};

inline constexpr LayoutColumn kMonexTradeColumns[] = {
    {u"約定日", Field::TradeDate},
    {u"受渡日", Field::Date},
    {u"口座", Field::Account},
    {u"商品", Field::Product},
    {u"取引", Field::Action},
    {u"銘柄コード", Field::Ignored},
    {u"銘柄名", Field::Fund},
    {u"数量（株/口）/返済数量", Field::Units},
    {u"単価/返済約定単価", Field::Price},
    {u"手数料", Field::Fee},
    {u"税金(手数料消費税及び譲渡益税)", Field::Tax},
    {u"利金・分配金・償還金", Field::Gross},
    {u"受渡金額(円)", Field::Settlement},
    {u"建約定日", Field::Ignored},
    {u"建単価", Field::Ignored},
    {u"建約定金額", Field::Ignored},
    {u"建手数料", Field::Ignored},
    {u"建手数料消費税", Field::Ignored},
    {u"事務管理費", Field::Ignored},
    {u"名義書換料", Field::Ignored},
    {u"順日歩", Field::Ignored},
    {u"逆日歩", Field::Ignored},
    {u"貸株料", Field::Ignored},
    {u"諸経費", Field::Ignored},
    {u"備考", Field::Ignored},
};

inline constexpr ActionWord kRakutenActions[] = {
    {u"買付", Action::Purchase},
    {u"解約", Action::Redemption},
    {u"再投資", Action::Reinvestment},
};

inline constexpr ActionWord kSbiActions[] = {
    {u"投信金額買付", Action::Purchase},
    {u"投信口数買付", Action::Purchase},
    {u"投信金額買付(募集)", Action::Purchase},
    {u"投信金額解約", Action::Redemption},
    {u"投信口数解約", Action::Redemption},
    {u"買取", Action::Redemption},
    {u"分配金再投資", Action::Reinvestment},
    {u"入庫", Action::Transfer},
    {u"出庫", Action::Transfer},
    {u"MRF", Action::MoneyFund, true},
};

inline constexpr ActionWord kMonexActions[] = {
    {u"お買付", Action::Purchase},
    {u"解約", Action::Redemption},
    {u"再投資買付", Action::Reinvestment},
    {u"分配金", Action::Distribution},
    {u"入庫", Action::Transfer},
    {u"出庫", Action::Transfer},
    {u"MRF", Action::MoneyFund, true},
};

inline constexpr std::array<LayoutDecl, kLayoutCount> kLayouts{{
    // 楽天 shows a distribution rounded half up (3,333 units × 50 → 17), and buys by amount
    // as brokers do (33,333 yen at 20,512: 16,251 units).
    {Layout::RakutenTrades, u"楽天証券", u"取引履歴（投資信託）", kRakutenTradeColumns, kRakutenActions,
     ledger::Rounding::HalfUp, true},
    {Layout::RakutenDistributions, u"楽天証券", u"配当・分配金", kRakutenDistributionColumns, {},
     ledger::Rounding::HalfUp, true},
    // SBI's amount orders too (500,000 yen at 11,250: 444,444 units, not 444,445); its
    // distributions come after tax only.
    {Layout::SbiTrades, u"SBI証券", u"約定履歴", kSbiTradeColumns, kSbiActions, std::nullopt, true},
    {Layout::SbiTrades2026, u"SBI証券", u"約定履歴（2026年5月から）", kSbiTrade2026Columns, kSbiActions,
     std::nullopt, true},
    {Layout::SbiDistributions, u"SBI証券", u"配当金・分配金", kSbiDistributionColumns, {}, std::nullopt, false},
    {Layout::MonexTrades, u"マネックス証券", u"取引履歴", kMonexTradeColumns, kMonexActions, std::nullopt, false},
}};

[[nodiscard]] constexpr const LayoutDecl& layoutDecl(Layout layout)
{
    return kLayouts[static_cast<std::size_t>(layout)];
}

// "楽天証券 取引履歴（投資信託）", as messages name a layout.
[[nodiscard]] QString layoutTitle(const LayoutDecl& layout);

// The 商品 of a fund, in a layout that lists stocks beside funds.
[[nodiscard]] bool isFundProduct(QStringView product);

// The account a broker's word names, as the ledger's own files name it (spaces, full-width
// forms and brackets alike); nothing for a blank cell or a word no broker uses.
[[nodiscard]] std::optional<AccountWord> accountWord(QStringView word);

// What a layout's 取引 word means, or nothing for a trade that is not a fund's.
[[nodiscard]] std::optional<Action> actionWord(const LayoutDecl& layout, QStringView word);

// A word as the tables above hold it: full-width forms as ASCII, without white space.
[[nodiscard]] QString wordKey(QStringView word);

} // namespace broker
