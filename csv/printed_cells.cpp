#include "printed_cells.h"

#include "cell_text.h"

#include "core/number_text.h"

namespace {

// The cell ready to read: normalised and trimmed; empty for a cell that says nothing.
QString printedText(const QString& cell)
{
    QString text = normalisedCell(cell).trimmed();
    if (text == u"-" || text == u"--")
        text.clear();
    return text;
}

// Whether a digit other than 0 follows the first `places` decimals.
bool finerThan(const QString& text, qsizetype places)
{
    const qsizetype point = text.indexOf(u'.');
    if (point < 0)
        return false;
    for (qsizetype i = point + 1 + places; i < text.size(); ++i) {
        if (text.at(i) >= u'1' && text.at(i) <= u'9')
            return true;
    }
    return false;
}

} // namespace

PrintedCell<Integer> printedWhole(const QString& cell, QStringView caption)
{
    const QString text = printedText(cell);
    if (text.isEmpty())
        return std::optional<Integer>();
    if (finerThan(text, 0))
        return QStringLiteral("%1は整数です: %2").arg(caption, cell.trimmed());
    const Parsed<Integer> parsed = parseInteger(text, NumberFormat{}, IntegerRange::wide());
    if (parsed)
        return std::optional<Integer>(*parsed);
    if (parsed.why() == InputProblem::NotANumber)
        return QStringLiteral("%1が数値ではありません: %2").arg(caption, cell.trimmed());
    return QStringLiteral("%1の数値が大きすぎます: %2").arg(caption, cell.trimmed());
}

PrintedCell<Currency> printedCents(const QString& cell, QStringView caption)
{
    const QString text = printedText(cell);
    if (text.isEmpty())
        return std::optional<Currency>();
    const Parsed<Currency> parsed = parseCurrency(text, NumberFormat{});
    if (!parsed) {
        if (parsed.why() == InputProblem::TooLarge)
            return QStringLiteral("%1の数値が大きすぎます: %2").arg(caption, cell.trimmed());
        return QStringLiteral("%1が数値ではありません: %2").arg(caption, cell.trimmed());
    }
    if (finerThan(text, 2))
        return QStringLiteral("%1は 0.01 円単位です: %2").arg(caption, cell.trimmed());
    return std::optional<Currency>(*parsed);
}

Outcome<QDate, QString> printedDate(const QString& cell, QStringView caption)
{
    const QString text = printedText(cell);
    if (text.isEmpty())
        return QStringLiteral("%1がありません").arg(caption);
    const QString wrongForm = QStringLiteral("%1は YYYY-MM-DD か YYYY/M/D で書きます: %2").arg(caption, text);
    const QChar separator = text.size() > 4 ? text.at(4) : QChar();
    if (separator != u'-' && separator != u'/')
        return wrongForm;
    const QStringList parts = text.split(separator);
    if (parts.size() != 3 || parts.at(0).size() != 4 || parts.at(1).isEmpty() || parts.at(1).size() > 2
        || parts.at(2).isEmpty() || parts.at(2).size() > 2)
        return wrongForm;
    int numbers[3] = {0, 0, 0};
    for (qsizetype i = 0; i < 3; ++i) {
        for (const QChar c : parts.at(i)) {
            if (c < u'0' || c > u'9')
                return wrongForm;
            numbers[i] = numbers[i] * 10 + (c.unicode() - u'0');
        }
    }
    const QDate date(numbers[0], numbers[1], numbers[2]);
    if (!date.isValid())
        return QStringLiteral("%1の %2 という日はありません").arg(caption, text);
    return date;
}

QString atLineOf(const QString& source, qint64 line, const QString& problem)
{
    return QStringLiteral("%1 の %2 行目: %3").arg(source).arg(line).arg(problem);
}
