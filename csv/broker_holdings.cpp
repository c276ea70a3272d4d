#include "broker_holdings.h"

#include "broker_layouts.h"
#include "cell_text.h"
#include "csv_reader.h"
#include "fund_name.h"
#include "input_file.h"
#include "named_columns.h"
#include "printed_cells.h"

#include <QHash>

#include <algorithm>
#include <array>

using ledger::Account;

namespace {

// The first column of the header, by either of its names.
constexpr std::array<QStringView, 2> kFirstColumns{u"投資信託種別", u"保有区分"};
// How many lines may come before the header.
constexpr int kMaxPreamble = 20;

enum HoldingsColumn { HeldAccount, HeldFund, HeldCourse, HeldUnits, HeldCost, kHoldingsColumns };
constexpr std::array<QStringView, kHoldingsColumns> kHoldingsCaptions{u"口座区分", u"ファンド", u"分配金コース",
                                                                       u"保有数量[口]", u"平均取得価額[円]"};
using HoldingsColumnIndex = std::vector<std::optional<qsizetype>>;

bool isHoldingsHeader(const CsvReader& record)
{
    return record.fieldCount() > 0
           && std::find(kFirstColumns.begin(), kFirstColumns.end(), normalisedCell(record.fieldText(0)).trimmed())
                  != kFirstColumns.end();
}

// One row of the file, read.
struct HoldingsRow {
    Account account = Account::Specified;
    QString accountWord; // as the file writes it
    QString fund;
    QString course;
    Integer units = 0;
    Currency cost;
};

Outcome<HoldingsRow, QString> holdingsRow(const CsvReader& record, const HoldingsColumnIndex& columns)
{
    const auto cell = [&](HoldingsColumn c) { return record.fieldText(*columns[c]).trimmed(); };
    HoldingsRow row;
    row.fund = cell(HeldFund);
    if (row.fund.isEmpty())
        return QStringLiteral("ファンドがありません");
    const std::optional<AccountWord> account = broker::accountWord(cell(HeldAccount));
    if (!account)
        return QStringLiteral("口座区分が違います: %1（%2）").arg(cell(HeldAccount), accountWordsHint());
    row.account = account->account;
    row.accountWord = cell(HeldAccount);
    row.course = fundNameKey(cell(HeldCourse));

    const PrintedCell<Integer> units = printedWhole(cell(HeldUnits), kHoldingsCaptions[HeldUnits]);
    if (!units)
        return units.why();
    if (!*units || **units < 0)
        return QStringLiteral("保有数量は 0 以上の整数です: %1").arg(cell(HeldUnits));
    row.units = **units;
    const PrintedCell<Currency> cost = printedCents(cell(HeldCost), kHoldingsCaptions[HeldCost]);
    if (!cost)
        return cost.why();
    if (row.units > 0 && !*cost)
        return QStringLiteral("平均取得価額がありません");
    if (*cost) {
        // Far above any fund's price, and small enough that the sums below stay exact.
        if (cost->value().raw() < 0 || cost->value().raw() > ledger::kLargest)
            return QStringLiteral("平均取得価額は 0 から %1 までです: %2")
                .arg(ledger::kLargest / Currency::kScale)
                .arg(cell(HeldCost));
        row.cost = **cost;
    }
    return row;
}

} // namespace

Currency BrokerHolding::averageCost() const
{
    if (units <= 0)
        return {};
    const Wide cents = divide(costTimesUnits, Wide{units} * 100, Rounding::HalfUp);
    return Currency::fromRaw(static_cast<std::int64_t>(cents * 100));
}

Outcome<BrokerHoldings, QString> readBrokerHoldings(QIODevice& input, const QString& source)
{
    CsvReader reader(input);
    const auto refused = [&](const QString& problem) { return atLineOf(source, reader.line(), problem); };
    const auto notThisFile = [&] {
        return QStringLiteral("%1 は楽天の保有商品（投資信託）の CSV ではありません（%2 か %3 で始まる見出しがありません）")
            .arg(source, kFirstColumns[0], kFirstColumns[1]);
    };
    for (int records = 0;; ++records) {
        if (records > kMaxPreamble)
            return notThisFile();
        const CsvReader::Result result = reader.next();
        if (result == CsvReader::Result::End)
            return notThisFile();
        if (result == CsvReader::Result::Malformed)
            return refused(reader.problem());
        if (isHoldingsHeader(reader))
            break;
    }
    const Outcome<HoldingsColumnIndex, QString> columns = namedColumns(reader, kHoldingsCaptions, kHoldingsColumns);
    if (!columns)
        return refused(columns.why());
    const qsizetype width = reader.fieldCount();

    BrokerHoldings read;
    read.broker = broker::layoutDecl(broker::Layout::RakutenTrades).broker.toString();
    // Where each fund and account stands in `read`, and the line of each course.
    QHash<QString, std::size_t> where;
    QHash<QString, qint64> courses;
    QString problem;
    while (nextTableRow(reader, width, source, problem)) {
        const Outcome<HoldingsRow, QString> row = holdingsRow(reader, *columns);
        if (!row)
            return refused(row.why());
        // つみたて投資枠 and 成長投資枠 are one NISA to the ledger, so a fund held in both
        // is one holding; a course is told apart by the account's own word.
        const QString key = QString::number(static_cast<int>(row->account)) + u'\t' + fundNameKey(row->fund);
        const QString courseKey = key + u'\t' + row->course + u'\t' + fundNameKey(row->accountWord);
        if (courses.contains(courseKey))
            return refused(QStringLiteral("%1 行目と同じファンド・口座区分・分配金コースです").arg(courses.value(courseKey)));
        courses.insert(courseKey, reader.line());

        auto at = where.constFind(key);
        if (at == where.constEnd()) {
            at = where.insert(key, read.holdings.size());
            read.holdings.push_back({row->fund, row->account, 0, 0, reader.line()});
        }
        BrokerHolding& holding = read.holdings[at.value()];
        if (holding.units > ledger::kLargest - row->units)
            return refused(QStringLiteral("保有数量の合計が大きすぎます"));
        holding.units += row->units;
        holding.costTimesUnits += Wide{row->units} * row->cost.raw();
    }
    if (!problem.isEmpty())
        return problem;
    return read;
}

Outcome<BrokerHoldings, QString> loadBrokerHoldings(const QString& path)
{
    QString problem;
    const std::unique_ptr<QIODevice> input = openInput(path, problem);
    if (!input)
        return problem;
    return readBrokerHoldings(*input, path);
}
