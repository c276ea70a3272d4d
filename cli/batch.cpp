#include "batch.h"

#include "calculators.h"
#include "csv_reader.h"
#include "csv_writer.h"

#include <QIODevice>
#include <QList>

#include <optional>

namespace {

// Where each input column the calculator reads stands in the header.
struct ColumnMap {
    QList<std::pair<const BoxDecl*, qsizetype>> boxes;
    std::optional<qsizetype> feeCovered;
};

BatchResult unreadable(const QString& problem) { return {BatchResult::Kind::Unreadable, problem}; }

BatchResult unreadableAt(const CsvReader& reader, const QString& problem)
{
    return unreadable(QStringLiteral("入力の %1 行目: %2").arg(reader.line()).arg(problem));
}

QStringList requiredColumns(const CliCalculator& calculator)
{
    QStringList names;
    for (const BoxOption& option : calculator.options)
        names.append(option.box->fieldName().toString());
    if (calculator.calculator.option())
        names.append(kFeeCoveredColumn.toString());
    return names;
}

// The header's only column with this name, or the problem with it.
std::optional<qsizetype> findColumn(const CsvReader& header, const QString& name,
                                    const QStringList& required, QString& problem)
{
    const QByteArray wanted = name.toUtf8();
    std::optional<qsizetype> found;
    for (qsizetype i = 0; i < header.fieldCount(); ++i) {
        if (header.field(i) != wanted)
            continue;
        if (found) {
            problem = QStringLiteral("見出しに列 %1 が二つ以上あります").arg(name);
            return std::nullopt;
        }
        found = i;
    }
    if (!found)
        problem = QStringLiteral("見出しに列 %1 がありません（必要な列: %2）")
                      .arg(name, required.join(u','));
    return found;
}

// "1" selects the fee coverage; "0" or nothing leaves it off.
std::optional<bool> readFeeCovered(QByteArrayView text)
{
    const QByteArrayView value = text.trimmed();
    if (value == "1")
        return true;
    if (value.isEmpty() || value == "0")
        return false;
    return std::nullopt;
}

// The header's columns for the calculator's inputs, or why they cannot be found.
std::optional<ColumnMap> mapColumns(const CsvReader& header, const CliCalculator& calculator,
                                    QString& problem)
{
    const QStringList required = requiredColumns(calculator);
    ColumnMap columns;
    for (const BoxOption& option : calculator.options) {
        const auto index = findColumn(header, option.box->fieldName().toString(), required, problem);
        if (!index)
            return std::nullopt;
        columns.boxes.append({option.box, *index});
    }
    if (calculator.calculator.option()) {
        columns.feeCovered = findColumn(header, kFeeCoveredColumn.toString(), required, problem);
        if (!columns.feeCovered)
            return std::nullopt;
    }
    return columns;
}

Statement calculateRow(const CliCalculator& calculator, IntegerRange range, const TaxRules& rules,
                       const CsvReader& row, const ColumnMap& columns, BoxTexts& texts)
{
    for (const auto& [box, index] : columns.boxes)
        texts.set(*box, QString::fromUtf8(row.field(index)));
    const std::optional<bool> feeCovered =
        columns.feeCovered ? readFeeCovered(row.field(*columns.feeCovered)) : false;
    if (!feeCovered) {
        return QStringLiteral("%1 は 1 か 0（空欄は 0）にしてください").arg(kFeeCoveredColumn);
    }
    return calculate(calculator, {texts, *feeCovered}, range, rules, nullptr);
}

} // namespace

BatchResult runBatch(const CliCalculator& calculator, IntegerRange range, const TaxRules& rules,
                     QIODevice& input, QIODevice& output)
{
    CsvReader reader(input);
    switch (reader.next()) {
    case CsvReader::Result::End:
        return unreadable(QStringLiteral("入力が空です（見出しの行が必要です）"));
    case CsvReader::Result::Malformed:
        return unreadableAt(reader, reader.problem());
    case CsvReader::Result::Record:
        break;
    }
    QString problem;
    const std::optional<ColumnMap> columns = mapColumns(reader, calculator, problem);
    if (!columns)
        return unreadable(problem);

    // The output keeps the input's byte order mark and line breaks.
    CsvWriter writer(output, reader.endedWithCrLf());
    if (reader.hadByteOrderMark())
        writer.byteOrderMark();
    const qsizetype width = reader.fieldCount();
    for (qsizetype i = 0; i < width; ++i)
        writer.field(reader.field(i));
    const QStringList captions = calculator.calculator.statementCaptions(rules.set);
    for (const QString& caption : captions)
        writer.field(caption);
    writer.field(QByteArrayView("message"));
    writer.endRecord();

    BatchResult result;
    BoxTexts texts;
    // Once the output refuses bytes, reading on would only be wasted.
    while (writer.ok()) {
        const CsvReader::Result read = reader.next();
        if (read == CsvReader::Result::End)
            break;
        if (read == CsvReader::Result::Malformed) {
            result = unreadableAt(reader, reader.problem());
            break;
        }
        // A row of another width has lost or gained a separator (often an unquoted
        // "10,000"); guessing which column moved could give a wrong figure.
        if (reader.fieldCount() != width) {
            const QString hint = reader.fieldCount() > width
                                     ? QStringLiteral("。「,」を含む値は \"\" で囲みます")
                                     : QString();
            result = unreadableAt(reader, QStringLiteral("列が %1 個あります（見出しは %2 個%3）")
                                              .arg(reader.fieldCount())
                                              .arg(width)
                                              .arg(hint));
            break;
        }

        const Statement statement = calculateRow(calculator, range, rules, reader, *columns, texts);
        for (qsizetype i = 0; i < width; ++i)
            writer.field(reader.field(i));
        if (statement) {
            for (const ShownFigure& figure : *statement)
                writer.field(figure.text);
            writer.field(QByteArrayView());
        } else {
            for (qsizetype i = 0; i < captions.size(); ++i)
                writer.field(QByteArrayView());
            writer.field(statement.why());
            result.kind = BatchResult::Kind::SomeRefused;
        }
        writer.endRecord();
    }

    if (!writer.flush())
        return {BatchResult::Kind::WriteFailed, output.errorString()};
    return result;
}
