#include "history_rows.h"

#include "ledger_inputs.h"

#include "core/exact.h"

#include <QDate>

#include <charconv>

using namespace ledger;

namespace broker {
namespace {

// The date as Qt::ISODate writes it, without a formatted string per row.
void appendDate(QDate date, CellRecord& cells)
{
    int year = 0;
    int month = 0;
    int day = 0;
    date.getDate(&year, &month, &day); // one conversion from the day number, not three
    if (!date.isValid() || year < 1000 || year > 9999) {
        cells.append(QStringView(date.toString(Qt::ISODate)));
        return;
    }
    const char text[] = {static_cast<char>('0' + year / 1000),     static_cast<char>('0' + year / 100 % 10),
                         static_cast<char>('0' + year / 10 % 10),  static_cast<char>('0' + year % 10),
                         '-',
                         static_cast<char>('0' + month / 10),      static_cast<char>('0' + month % 10),
                         '-',
                         static_cast<char>('0' + day / 10),        static_cast<char>('0' + day % 10)};
    cells.append(QByteArrayView(text, sizeof text));
}

} // namespace

HistoryRows::HistoryRows(const std::vector<BrokerRow>& history, CsvEncoding encoding)
    : history_(history), cells_(encoding)
{
    cells_.clear(1);
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        cells_.append(kColumns[i].code);
        columns_[static_cast<std::size_t>(kColumns[i].column)] = static_cast<qsizetype>(i);
    }
    cells_.append(QStringView(u"source"));
    for (const EventDecl& decl : kEvents)
        words_.emplace_back(decl.kind, QString::fromUtf8(decl.japanese));
}

bool HistoryRows::next()
{
    while (next_ < history_.size() && history_[next_].kind != BrokerRow::Kind::Event)
        ++next_;
    if (next_ == history_.size())
        return false;
    const BrokerRow& row = history_[next_++];
    const Event& event = row.event;
    cells_.clear(cells_.line() + 1);
    for (const ColumnDecl& column : kColumns) {
        switch (column.column) {
        case Column::Date:
            appendDate(event.date, cells_);
            continue;
        case Column::Fund:
            cells_.append(QStringView(event.fund));
            continue;
        case Column::Account:
            cells_.append(event.specifiedOrGeneral ? QStringView(u"特定/一般") : accountName(event.account));
            continue;
        case Column::Event:
            for (const auto& [kind, word] : words_) {
                if (kind == event.kind)
                    cells_.append(QStringView(word));
            }
            continue;
        case Column::Broker:
            cells_.append(QStringView(event.broker));
            continue;
        default:
            break;
        }
        if (column.whole && event.*column.whole)
            cells_.append(text_.whole(*(event.*column.whole)));
        else if (column.cents && event.*column.cents)
            cells_.append(text_.price(*(event.*column.cents)));
        else if (column.percent && event.*column.percent)
            cells_.append(QStringView(percentText(*(event.*column.percent))));
        else
            cells_.append(QByteArrayView());
    }
    // The source as sourceText() gives it, "file:line".
    char line[24] = {':'};
    const auto written = std::to_chars(line + 1, line + sizeof line, row.source.line);
    cells_.append(QStringView(row.source.file), QByteArrayView(line, written.ptr - line));
    event_ = readLedgerEvent(cells_, columns_, &names_);
    return true;
}

} // namespace broker
