#include "ledger_columns.h"

#include "broker_cells.h"
#include "cell_record.h"
#include "cell_text.h"
#include "csv_reader.h"
#include "csv_records.h"
#include "ledger_words.h"

#include "core/number_text.h"

#include <QStringList>

#include <charconv>

using namespace ledger;

namespace {

std::size_t at(Column column) { return static_cast<std::size_t>(column); }

// A cell that holds a figure: nothing when blank, or why it is not one.
template <class T>
using Cell = Outcome<std::optional<T>, QString>;

// One record's cells, by column: a record read (CsvReader) or made (CellRecord).
template <class Record>
class Row {
public:
    Row(const Record& reader, const LedgerColumnIndex& columns) : reader_(reader), columns_(columns) {}

    [[nodiscard]] QByteArrayView bytes(Column c) const
    {
        const std::optional<qsizetype>& index = columns_[at(c)];
        return index ? reader_.field(*index).trimmed() : QByteArrayView();
    }
    [[nodiscard]] QString text(Column c) const
    {
        const std::optional<qsizetype>& index = columns_[at(c)];
        return index ? reader_.fieldText(*index).trimmed() : QString();
    }
    // The cell as text, trimmed of ASCII white space only, as bytes() is: a name keeps
    // an ideographic space of its own.
    [[nodiscard]] QString name(Column c) const
    {
        const std::optional<qsizetype>& index = columns_[at(c)];
        if (!index)
            return QString();
        const QByteArrayView cell = reader_.field(*index);
        if (cell.size() == bytes(c).size())
            return reader_.fieldText(*index);
        QString text = reader_.fieldText(*index);
        const auto space = [](QChar ch) { return ch.unicode() < 0x80 && ch.isSpace(); };
        qsizetype begin = 0;
        qsizetype end = text.size();
        while (begin < end && space(text.at(begin)))
            ++begin;
        while (end > begin && space(text.at(end - 1)))
            --end;
        return text.mid(begin, end - begin);
    }
    // A figure's cell as spreadsheets write it: full-width forms, U+2212 and a
    // percentage's trailing "%" read as plain ASCII.
    [[nodiscard]] QString figureText(Column c) const
    {
        return figureCell(text(c), columnDecl(c).reading == CellReading::Percent);
    }
    // `look` applied to the cell as UTF-8: its bytes as read, without a conversion,
    // unless the input is CP932.
    template <class Look>
    [[nodiscard]] auto inUtf8(Column c, Look&& look) const
    {
        if (reader_.encoding() == CsvEncoding::Utf8)
            return look(bytes(c));
        const QByteArray converted = text(c).toUtf8();
        return look(QByteArrayView(converted));
    }

    // Whole yen or units.
    [[nodiscard]] Cell<Integer> whole(Column c) const
    {
        const QByteArrayView cell = bytes(c);
        if (cell.isEmpty())
            return std::optional<Integer>();
        // Plain ASCII digits, the usual case, without a conversion to text.
        if (cell.size() <= 15 && cell.front() != '+') {
            Integer value = 0;
            const char* end = cell.data() + cell.size();
            const auto [stop, error] = std::from_chars(cell.data(), end, value);
            if (error == std::errc() && stop == end)
                return std::optional<Integer>(value);
        }
        const QString cellText = figureText(c);
        const QString caption = columnDecl(c).caption.toString();
        if (hasDigitsBeyond(cellText, 0))
            return QStringLiteral("%1は整数で入力してください").arg(caption);
        const Parsed<Integer> parsed = parseInteger(cellText, NumberFormat{}, IntegerRange::wide());
        if (parsed)
            return std::optional<Integer>(*parsed);
        if (parsed.why() == InputProblem::Empty)
            return std::optional<Integer>();
        if (parsed.why() == InputProblem::NotANumber)
            return QStringLiteral("%1には数値を入力してください").arg(caption);
        return QStringLiteral("%1は -%2 から %2 までにしてください").arg(caption).arg(kLargest);
    }
    // A price per 10,000 units, to 0.01 yen.
    [[nodiscard]] Cell<Currency> cents(Column c) const
    {
        return decimal(c, 2, QStringLiteral("%1は 0.01 円単位で入力してください"));
    }
    // A percentage, to 0.001 %.
    [[nodiscard]] Cell<DecimalRate> percent(Column c) const
    {
        const Cell<Currency> exact = decimal(c, 3, QStringLiteral("%1は小数第3位までで入力してください"));
        if (!exact)
            return exact.why();
        if (!*exact)
            return std::optional<DecimalRate>();
        return std::optional<DecimalRate>(DecimalRate{exact.value()->raw() / 10});
    }

private:
    // Whether a digit other than 0 follows the first `places` decimals.
    static bool hasDigitsBeyond(const QString& cell, qsizetype places)
    {
        qsizetype point = cell.indexOf(u'.');
        if (point < 0)
            point = cell.indexOf(u'．');
        if (point < 0)
            return false;
        for (qsizetype i = point + 1 + places; i < cell.size(); ++i) {
            const char16_t c = cell.at(i).unicode();
            if ((c >= u'1' && c <= u'9') || (c >= u'１' && c <= u'９'))
                return true;
        }
        return false;
    }

    // A decimal figure of at most `places` decimals.
    [[nodiscard]] Cell<Currency> decimal(Column c, qsizetype places, const QString& tooFine) const
    {
        const QString cell = figureText(c);
        if (cell.isEmpty())
            return std::optional<Currency>();
        const QString caption = columnDecl(c).caption.toString();
        const Parsed<Currency> parsed = parseCurrency(cell, NumberFormat{});
        if (!parsed) {
            if (parsed.why() == InputProblem::TooLarge)
                return QStringLiteral("%1の数値が大きすぎます").arg(caption);
            return QStringLiteral("%1には数値を入力してください").arg(caption);
        }
        if (hasDigitsBeyond(cell, places))
            return tooFine.arg(caption);
        return std::optional<Currency>(*parsed);
    }

    const Record& reader_;
    const LedgerColumnIndex& columns_;
};

// Sets `field` from a cell, or gives why the cell is not a figure.
template <class T>
bool take(const Cell<T>& cell, CompactOptional<T>& field, QString& why)
{
    if (!cell) {
        why = cell.why();
        return false;
    }
    field = *cell;
    return true;
}

// The figure a column's cell gives the event; false, with why, when it is none.
template <class Record>
bool readFigure(const Row<Record>& row, const ColumnDecl& column, Event& event, QString& why)
{
    switch (column.reading) {
    case CellReading::Whole:
        return take(row.whole(column.column), event.*column.whole, why);
    case CellReading::Cents:
        return take(row.cents(column.column), event.*column.cents, why);
    case CellReading::Percent:
        return take(row.percent(column.column), event.*column.percent, why);
    case CellReading::Date:
    case CellReading::Name:
    case CellReading::Account:
    case CellReading::EventName:
        break;
    }
    return true;
}

QString eventNames()
{
    QStringList names;
    for (const EventDecl& e : kEvents)
        names.append(QString::fromUtf8(e.japanese));
    return names.join(u'、');
}

template <class Record>
Outcome<Event, QString> readEvent(const Record& record, const LedgerColumnIndex& columns, FundNames* names)
{
    const Row row(record, columns);
    Event event;
    const QByteArrayView date = row.bytes(Column::Date);
    if (date.isEmpty())
        return QStringLiteral("受渡日が入力されていません");
    const std::optional<QDate> day = broker::dayCell(date);
    if (!day)
        return QStringLiteral("受渡日は YYYY-MM-DD か YYYY/MM/DD で書きます: %1").arg(row.text(Column::Date));
    if (!day->isValid())
        return QStringLiteral("受渡日 %1 という日はありません").arg(row.text(Column::Date));
    event.date = *day;

    const std::optional<AccountWord> account = row.inUtf8(Column::Account, accountWord);
    if (!account)
        return QStringLiteral("口座が違います: %1（%2）").arg(row.text(Column::Account), accountWordsHint());
    event.account = account->account;
    event.specifiedOrGeneral = account->specifiedOrGeneral;

    const std::optional<EventKind> kind = row.inUtf8(Column::Event, eventWord);
    if (!kind) {
        const QString name = row.text(Column::Event);
        if (name.isEmpty())
            return QStringLiteral("取引が入力されていません");
        return QStringLiteral("取引が違います: %1（%2）").arg(name, eventNames());
    }
    event.kind = *kind;
    // Another security's gain or dividend needs no name.
    if (row.bytes(Column::Fund).isEmpty()) {
        if (touchesHolding(event.kind))
            return QStringLiteral("銘柄が入力されていません");
    } else if (names) {
        const qsizetype index = *columns[at(Column::Fund)];
        event.fund = names->get(record.field(index), [&] { return row.name(Column::Fund); });
    } else {
        event.fund = row.name(Column::Fund);
    }
    if (!row.bytes(Column::Broker).isEmpty()) {
        const qsizetype index = *columns[at(Column::Broker)];
        event.broker = names ? names->get(record.field(index), [&] { return row.name(Column::Broker); })
                             : row.name(Column::Broker);
    }

    QString why;
    for (const ColumnDecl& column : kColumns) {
        if (!readFigure(row, column, event, why))
            return why;
    }
    return event;
}

template <class Record>
QString rowInput(const Record& record, const LedgerColumnIndex& columns)
{
    const Row row(record, columns);
    QString text = QStringLiteral("【%1 行目】\n").arg(record.line());
    for (const ColumnDecl& column : kColumns) {
        if (!columns[at(column.column)])
            continue;
        const QString cell = row.text(column.column);
        if (!cell.isEmpty())
            text += column.caption.toString() + QStringLiteral(" = ") + cell + u'\n';
    }
    return text;
}

} // namespace

qsizetype ledgerInputWidth(const CsvReader& header)
{
    const qsizetype width = header.fieldCount();
    const auto figures = static_cast<qsizetype>(kFigures.size());
    if (width < figures)
        return width;
    for (qsizetype i = 0; i < figures; ++i) {
        if (header.fieldText(width - figures + i).trimmed() != kFigures[static_cast<std::size_t>(i)].caption)
            return width;
    }
    return width - figures;
}

Outcome<LedgerColumnIndex, QString> mapLedgerColumns(const CsvReader& header)
{
    LedgerColumnIndex found;
    const qsizetype width = ledgerInputWidth(header);
    for (qsizetype i = 0; i < width; ++i) {
        // Spreadsheets write 手数料率（％） as well as 手数料率(%).
        const QString name = normalisedCell(header.fieldText(i).trimmed());
        for (const ColumnDecl& column : kColumns) {
            if (name != column.code && name != column.caption)
                continue;
            std::optional<qsizetype>& index = found[at(column.column)];
            if (index) {
                return sameColumnTwice(header, *index, i, name, column.code, column.caption);
            }
            index = i;
        }
    }
    QStringList absent;
    for (const ColumnDecl& column : kColumns) {
        if (column.required && !found[at(column.column)])
            absent.append(QStringLiteral("%1（%2）").arg(column.code, column.caption));
    }
    if (!absent.isEmpty())
        return QStringLiteral("見出しに列 %1 がありません").arg(absent.join(QStringLiteral("、")));
    return found;
}

Outcome<Event, QString> readLedgerEvent(const CsvReader& record, const LedgerColumnIndex& columns, FundNames* names)
{
    return readEvent(record, columns, names);
}

Outcome<Event, QString> readLedgerEvent(const CellRecord& record, const LedgerColumnIndex& columns, FundNames* names)
{
    return readEvent(record, columns, names);
}

bool isLedgerSettlementRow(const CsvReader& record, const LedgerColumnIndex& columns)
{
    return Row(record, columns).inUtf8(Column::Event, isSettlementWord);
}

QString ledgerCell(const CsvReader& record, const LedgerColumnIndex& columns, Column column)
{
    return Row(record, columns).text(column);
}

QString ledgerRowInput(const CsvReader& record, const LedgerColumnIndex& columns)
{
    return rowInput(record, columns);
}

QString ledgerRowInput(const CellRecord& record, const LedgerColumnIndex& columns)
{
    return rowInput(record, columns);
}
