#include "nav_history.h"

#include "csv_reader.h"
#include "fund_name.h"
#include "input_file.h"
#include "named_columns.h"
#include "printed_cells.h"

#include <algorithm>
#include <array>

namespace {

enum NavColumn { NavDate, NavFund, NavPrice, NavDistribution, kNavColumns };
constexpr std::array<QStringView, kNavColumns> kNavCaptions{u"基準日", u"銘柄", u"基準価額", u"分配金"};
constexpr QStringView kNavHeader = u"基準日,銘柄,基準価額[,分配金]";

using NavColumnIndex = std::vector<std::optional<qsizetype>>;

// The row's distribution, none when it paid none, or why the row cannot be read.
Outcome<std::optional<NavHistory::Distribution>, QString> navRow(const CsvReader& row, const NavColumnIndex& columns)
{
    const auto cell = [&](NavColumn c) { return columns[c] ? row.fieldText(*columns[c]) : QString(); };
    const Outcome<QDate, QString> date = printedDate(cell(NavDate), kNavCaptions[NavDate]);
    if (!date)
        return date.why();
    const PrintedCell<Integer> nav = printedWhole(cell(NavPrice), kNavCaptions[NavPrice]);
    if (!nav)
        return nav.why();
    if (!*nav)
        return QStringLiteral("基準価額がありません");
    if (**nav <= 0)
        return QStringLiteral("基準価額は 1 以上の整数です: %1").arg(cell(NavPrice).trimmed());
    const PrintedCell<Integer> distribution = printedWhole(cell(NavDistribution), kNavCaptions[NavDistribution]);
    if (!distribution)
        return distribution.why();
    if (*distribution && **distribution < 0)
        return QStringLiteral("分配金は 0 以上の整数です: %1").arg(cell(NavDistribution).trimmed());
    if (!*distribution || **distribution == 0)
        return std::optional<NavHistory::Distribution>();
    return std::optional<NavHistory::Distribution>(
        NavHistory::Distribution{*date, **nav, **distribution, row.line()});
}

} // namespace

Outcome<NavHistory, QString> NavHistory::read(QIODevice& input, const QString& source)
{
    CsvReader reader(input);
    const auto refused = [&](const QString& problem) { return atLineOf(source, reader.line(), problem); };
    switch (reader.next()) {
    case CsvReader::Result::End:
        return QStringLiteral("%1 が空です（見出しは %2）").arg(source, kNavHeader);
    case CsvReader::Result::Malformed:
        return refused(reader.problem());
    case CsvReader::Result::Record:
        break;
    }
    const Outcome<NavColumnIndex, QString> columns = namedColumns(reader, kNavCaptions, NavDistribution);
    if (!columns)
        return refused(QStringLiteral("%1（見出しは %2）").arg(columns.why(), kNavHeader));
    const qsizetype width = reader.fieldCount();

    NavHistory history;
    history.source_ = source;
    QString problem;
    while (nextTableRow(reader, width, source, problem)) {
        const QString fund = reader.fieldText(*columns.value()[NavFund]).trimmed();
        if (fund.isEmpty())
            return refused(QStringLiteral("銘柄がありません"));
        const auto row = navRow(reader, *columns);
        if (!row)
            return refused(row.why());
        std::vector<Distribution>& paid = history.funds_[fundNameKey(fund)];
        if (*row)
            paid.push_back(**row);
    }
    if (!problem.isEmpty())
        return problem;

    // Files list days newest first as often as oldest first.
    for (auto fund = history.funds_.begin(); fund != history.funds_.end(); ++fund) {
        std::vector<Distribution>& paid = fund.value();
        std::stable_sort(paid.begin(), paid.end(),
                         [](const Distribution& a, const Distribution& b) { return a.date < b.date; });
        for (std::size_t i = 1; i < paid.size(); ++i) {
            const Distribution& a = paid[i - 1];
            const Distribution& b = paid[i];
            if (a.date == b.date && (a.nav != b.nav || a.distribution != b.distribution))
                return atLineOf(source, b.line,
                                QStringLiteral("%1 行目と同じ銘柄・基準日（%2）で、基準価額か分配金が違います")
                                    .arg(a.line)
                                    .arg(a.date.toString(Qt::ISODate)));
        }
        // A day given twice alike is one day, found at its first line.
        paid.erase(std::unique(paid.begin(), paid.end(),
                               [](const Distribution& a, const Distribution& b) { return a.date == b.date; }),
                   paid.end());
    }
    return history;
}

Outcome<NavHistory, QString> NavHistory::load(const QString& path)
{
    QString problem;
    const std::unique_ptr<QIODevice> input = openInput(path, problem);
    if (!input)
        return problem;
    return read(*input, path);
}

Outcome<NavHistory::Distribution, QString> NavHistory::lastDistribution(QStringView fund, const QDate& date) const
{
    const auto found = funds_.constFind(fundNameKey(fund));
    if (found == funds_.constEnd())
        return QStringLiteral("%1 に銘柄「%2」がありません").arg(source_, fund);
    const std::vector<Distribution>& paid = found.value();
    const auto after = std::upper_bound(paid.begin(), paid.end(), date,
                                        [](const QDate& day, const Distribution& d) { return day < d.date; });
    if (after == paid.begin())
        return QStringLiteral("%1 に「%2」の %3 以前の分配金がありません")
            .arg(source_, fund, date.toString(Qt::ISODate));
    return *(after - 1);
}
