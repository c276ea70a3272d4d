#include "broker_holdings.h"

#include "cell_text.h"
#include "csv_reader.h"

#include "core/number_text.h"

#include <QStringList>

#include <algorithm>
#include <array>

namespace broker {
namespace {

enum HoldingColumn { AccountColumn, FundColumn, CourseColumn, UnitsColumn, CostColumn, kHoldingColumns };
constexpr std::array<QStringView, kHoldingColumns> kHoldingCaptions{u"口座区分", u"ファンド", u"分配金コース",
                                                                    u"保有数量[口]", u"平均取得価額[円]"};
using HoldingIndex = std::array<qsizetype, kHoldingColumns>;

// Where the columns stand when `record` is the table's header.
std::optional<HoldingIndex> holdingHeader(const CsvReader& record)
{
    if (record.fieldCount() == 0)
        return std::nullopt;
    const QString first = record.fieldText(0).trimmed();
    if (first != u"投資信託種別" && first != u"保有区分")
        return std::nullopt;
    HoldingIndex index;
    index.fill(-1);
    for (qsizetype i = 1; i < record.fieldCount(); ++i) {
        const QString caption = record.fieldText(i).trimmed();
        for (std::size_t c = 0; c < kHoldingColumns; ++c) {
            if (caption == kHoldingCaptions[c] && index[c] < 0)
                index[c] = i;
        }
    }
    for (const qsizetype at : index) {
        if (at < 0)
            return std::nullopt;
    }
    return index;
}

QString atLine(const QString& name, const CsvReader& reader, const QString& why)
{
    return QStringLiteral("%1: %2 行目: %3").arg(name).arg(reader.line()).arg(why);
}

} // namespace

Outcome<std::vector<HeldFund>, QString> readHoldings(QIODevice& input, const QString& name)
{
    CsvReader reader(input);
    std::optional<HoldingIndex> index;
    qsizetype width = 0;
    std::vector<HeldFund> funds;
    for (;;) {
        const CsvReader::Result read = reader.next();
        if (read == CsvReader::Result::Malformed)
            return atLine(name, reader, reader.problem());
        if (read == CsvReader::Result::End)
            break;
        if (!index) {
            index = holdingHeader(reader);
            width = reader.fieldCount();
            continue;
        }
        if (reader.fieldCount() != width)
            break;
        const auto cell = [&](HoldingColumn c) { return reader.fieldText((*index)[c]).trimmed(); };
        const QString fund = fundKey(cell(FundColumn));
        if (fund.isEmpty())
            continue;
        const std::optional<AccountWord> account = accountWord(cell(AccountColumn));
        if (!account || account->specifiedOrGeneral)
            return atLine(name, reader, QStringLiteral("口座区分「%1」は読めません").arg(cell(AccountColumn)));
        const auto units = figureCell(reader.field((*index)[UnitsColumn]), [&] { return cell(UnitsColumn); });
        if (!units || !*units || **units < 0)
            return atLine(name, reader, QStringLiteral("保有数量[口]「%1」は口数ではありません").arg(cell(UnitsColumn)));
        const Parsed<Currency> cost = parseCurrency(normalisedCell(cell(CostColumn)), NumberFormat{});
        if (!cost || cost->raw() < 0 || cost->raw() % 100 != 0)
            return atLine(name, reader,
                          QStringLiteral("平均取得価額[円]「%1」は 0.01 円までの価額ではありません").arg(cell(CostColumn)));
        auto held = std::find_if(funds.begin(), funds.end(), [&](const HeldFund& f) {
            return f.fund == fund && f.account == account->account;
        });
        if (held == funds.end()) {
            held = funds.insert(funds.end(), HeldFund{fund, account->account, 0, {}, {name, reader.line()}});
        }
        held->units += **units;
        held->courses.push_back({cell(CourseColumn), **units, *cost});
    }
    if (!index) {
        QStringList captions;
        for (const QStringView caption : kHoldingCaptions)
            captions.append(caption.toString());
        return QStringLiteral("%1: 保有の一覧の見出し（1 列目が投資信託種別か保有区分で、%2 の列）がありません")
            .arg(name, captions.join(u'、'));
    }
    return funds;
}

} // namespace broker
