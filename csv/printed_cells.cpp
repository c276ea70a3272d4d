#include "printed_cells.h"

#include "broker_cells.h"
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
    const QByteArray utf8 = cell.toUtf8();
    const auto figure = broker::figureCell(utf8, [&] { return cell; });
    if (figure)
        return *figure;
    switch (figure.why()) {
    case broker::FigureProblem::Fraction:
        return QStringLiteral("%1は整数です: %2").arg(caption, cell.trimmed());
    case broker::FigureProblem::TooLarge:
        return QStringLiteral("%1の数値が大きすぎます: %2").arg(caption, cell.trimmed());
    case broker::FigureProblem::NotANumber:
        break;
    }
    return QStringLiteral("%1が数値ではありません: %2").arg(caption, cell.trimmed());
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

QString atLineOf(const QString& source, qint64 line, const QString& problem)
{
    return QStringLiteral("%1 の %2 行目: %3").arg(source).arg(line).arg(problem);
}
