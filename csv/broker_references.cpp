#include "broker_references.h"

#include "csv_reader.h"
#include "fund_name.h"

#include <algorithm>

namespace broker {
namespace {

// The next record; false at the end, or with `problem` set.
bool nextRecord(CsvReader& reader, std::optional<QString>& problem)
{
    switch (reader.next()) {
    case CsvReader::Result::End:
        return false;
    case CsvReader::Result::Malformed:
        problem = QStringLiteral("%1 行目: %2").arg(reader.line()).arg(reader.problem());
        return false;
    case CsvReader::Result::Record:
        return true;
    }
    return false;
}

QString atLine(const CsvReader& reader, const QString& why)
{
    return QStringLiteral("%1 行目: %2").arg(reader.line()).arg(why);
}

constexpr qsizetype kNavColumns = 4;
constexpr QStringView kNavCaptions[kNavColumns] = {u"基準日", u"銘柄", u"基準価額", u"分配金"};

} // namespace

std::optional<QString> FundRenames::read(QIODevice& input)
{
    CsvReader reader(input);
    std::optional<QString> problem;
    QHash<QString, QString> newer;
    while (nextRecord(reader, problem)) {
        if (reader.fieldCount() != 2)
            return atLine(reader, QStringLiteral("旧い銘柄名と新しい銘柄名の 2 列にしてください"));
        const QString from = fundNameKey(reader.fieldText(0).trimmed());
        const QString to = fundNameKey(reader.fieldText(1).trimmed());
        if (from.isEmpty() || to.isEmpty())
            return atLine(reader, QStringLiteral("銘柄名が空欄です"));
        if (newer.contains(from) && newer.value(from) != to)
            return atLine(reader, QStringLiteral("「%1」の新しい名前が二つあります").arg(from));
        newer.insert(from, to);
    }
    if (problem)
        return problem;
    // A chain ends within as many steps as there are names, or goes round. Looked at in
    // the order of the names, so that the message is always the same.
    QStringList names = newer.keys();
    names.sort();
    for (const QString& from : names) {
        QString name = newer.value(from);
        for (qsizetype steps = 0; newer.contains(name); ++steps) {
            if (steps > newer.size() || name == from)
                return QStringLiteral("「%1」の名前の変更が元に戻っています").arg(from);
            name = newer.value(name);
        }
    }
    newer_ = std::move(newer);
    return std::nullopt;
}

QString FundRenames::current(const QString& key) const
{
    QString name = key;
    while (newer_.contains(name))
        name = newer_.value(name);
    return name;
}

void FundRenames::apply(std::vector<BrokerRow>& rows) const
{
    if (newer_.isEmpty())
        return;
    for (BrokerRow& row : rows)
        row.event.fund = current(row.event.fund);
}

std::optional<QString> NavHistory::read(QIODevice& input)
{
    CsvReader reader(input);
    std::optional<QString> problem;
    if (!nextRecord(reader, problem))
        return problem ? problem : QStringLiteral("見出しがありません");
    const qsizetype width = reader.fieldCount();
    bool header = width == kNavColumns || width == kNavColumns - 1;
    for (qsizetype i = 0; header && i < width; ++i)
        header = reader.fieldText(i).trimmed() == kNavCaptions[i];
    if (!header)
        return QStringLiteral("1 行目の見出しは 基準日,銘柄,基準価額 か 基準日,銘柄,基準価額,分配金 です");
    QHash<QString, std::vector<NavDay>> days;
    while (nextRecord(reader, problem)) {
        if (reader.fieldCount() != width)
            return atLine(reader, QStringLiteral("列が %1 個あります（見出しは %2 個）").arg(reader.fieldCount()).arg(width));
        const auto text = [&](qsizetype i) { return [&reader, i] { return reader.fieldText(i); }; };
        NavDay day;
        const std::optional<QDate> date = dateCell(reader.field(0), text(0));
        if (!date)
            return atLine(reader, QStringLiteral("基準日「%1」は日付ではありません").arg(reader.fieldText(0)));
        day.date = *date;
        const auto nav = figureCell(reader.field(2), text(2));
        if (!nav || !*nav || **nav <= 0)
            return atLine(reader, QStringLiteral("基準価額「%1」は正の整数ではありません").arg(reader.fieldText(2)));
        day.nav = **nav;
        if (width == kNavColumns) {
            const auto paid = figureCell(reader.field(3), text(3));
            if (!paid || (*paid && **paid < 0))
                return atLine(reader, QStringLiteral("分配金「%1」は 0 以上の整数ではありません").arg(reader.fieldText(3)));
            if (*paid && **paid > 0)
                day.distribution = *paid;
        }
        const QString fund = fundNameKey(reader.fieldText(1).trimmed());
        if (fund.isEmpty())
            return atLine(reader, QStringLiteral("銘柄が空欄です"));
        days[fund].push_back(day);
    }
    if (problem)
        return problem;
    for (std::vector<NavDay>& history : days) {
        std::stable_sort(history.begin(), history.end(),
                         [](const NavDay& a, const NavDay& b) { return a.date < b.date; });
    }
    days_ = std::move(days);
    return std::nullopt;
}

std::optional<NavDay> NavHistory::lastDistribution(const QString& key, QDate date) const
{
    const auto found = days_.constFind(key);
    if (found == days_.cend())
        return std::nullopt;
    const std::vector<NavDay>& history = *found;
    auto after = std::upper_bound(history.begin(), history.end(), date,
                                  [](QDate d, const NavDay& day) { return d < day.date; });
    while (after != history.begin()) {
        --after;
        if (after->distribution)
            return *after;
    }
    return std::nullopt;
}

} // namespace broker
