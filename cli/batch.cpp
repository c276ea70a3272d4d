#include "batch.h"

#include "calculators.h"

#include "csv/cell_text.h"
#include "csv/csv_reader.h"
#include "csv/csv_records.h"
#include "csv/csv_writer.h"

#include <QIODevice>
#include <QList>

#include <optional>

namespace {

// Where each input column the calculator reads stands in the header, and what the
// boxes without a column hold.
struct ColumnMap {
    struct Box {
        const BoxDecl* box;
        qsizetype index;
        bool percentage;
    };
    QList<Box> boxes;
    std::optional<qsizetype> feeCovered;
    QString feeCoveredRefusal; // names the column as the header wrote it
    BoxTexts omitted;
};

// An input column the calculator reads, and the names a header may give it.
struct InputColumn {
    const BoxOption* option; // null for the fee coverage
    QStringList names;       // its code first, then its captions
};

QList<InputColumn> inputColumns(const CliCalculator& calculator)
{
    QList<InputColumn> columns;
    for (const BoxOption& option : calculator.options) {
        columns.append({&option,
                        {option.box->fieldName().toString(), option.box->caption.toString()}});
    }
    if (const OptionDecl* option = calculator.calculator.option()) {
        columns.append({nullptr,
                        {kFeeCoveredColumn.toString(), kFeeCoveredShortCaption.toString(),
                         option->caption.toString()}});
    }
    return columns;
}

// The fee coverage: "1" selects it, "0" or nothing leaves it off, and so do the other
// spellings a check box is exported in.
std::optional<bool> readFeeCovered(const CsvReader& row, qsizetype index)
{
    const QByteArrayView value = row.field(index).trimmed();
    if (value == "1")
        return true;
    if (value.isEmpty() || value == "0")
        return false;
    return checkBoxCell(row.fieldText(index));
}

// The header's columns for the calculator's inputs, or why they cannot be found. A
// column left out takes what its option left out takes, so only those whose box would
// then be a missing input are required.
std::optional<ColumnMap> mapColumns(const CsvReader& header, const CliCalculator& calculator,
                                    RuleSet rules, QString& problem)
{
    const QList<InputColumn> wanted = inputColumns(calculator);
    QList<std::optional<qsizetype>> found(wanted.size());
    for (qsizetype i = 0; i < header.fieldCount(); ++i) {
        const QString name = normalisedCell(header.fieldText(i)).trimmed();
        for (qsizetype w = 0; w < wanted.size(); ++w) {
            if (!wanted[w].names.contains(name))
                continue;
            if (found[w]) {
                problem = sameColumnTwice(header, *found[w], i, header.fieldText(i).trimmed(), wanted[w].names.front(),
                                          wanted[w].names.at(1));
                return std::nullopt;
            }
            found[w] = i;
        }
    }
    ColumnMap columns;
    QStringList absent;   // the required columns the header lacks
    QStringList required; // the codes of all of them
    for (qsizetype w = 0; w < wanted.size(); ++w) {
        const BoxOption* option = wanted[w].option;
        if (!option) {
            columns.feeCovered = found[w];
            if (found[w])
                columns.feeCoveredRefusal = QStringLiteral("%1 は 1 か 0（空欄は 0）にしてください")
                                                .arg(header.fieldText(*found[w]).trimmed());
            continue;
        }
        const QStringView omitted = omittedText(*option, rules);
        const bool isRequired = option->box->zeroIsMissing && omitted == u"0";
        if (isRequired)
            required.append(wanted[w].names.front());
        if (found[w])
            columns.boxes.append({option->box, *found[w], holdsPercentage(*option->box)});
        else if (isRequired)
            absent.append(QStringLiteral("%1（%2）").arg(wanted[w].names.front(), wanted[w].names.at(1)));
        else
            columns.omitted.set(*option->box, omitted.toString());
    }
    if (!absent.isEmpty()) {
        problem = QStringLiteral("見出しに列 %1がありません（必要な列: %2、または画面の項目名）")
                      .arg(absent.join(u'、'), required.join(u','));
        return std::nullopt;
    }
    return columns;
}

Statement calculateRow(const CliCalculator& calculator, IntegerRange range, const TaxRules& rules,
                       const CsvReader& row, const ColumnMap& columns, BoxTexts& texts)
{
    const bool ascii = row.recordIsAscii();
    for (const ColumnMap::Box& column : columns.boxes) {
        QString text = row.fieldText(column.index);
        if (!ascii || !plainAsciiFigure(text, column.percentage))
            text = figureCell(std::move(text), column.percentage);
        texts.set(*column.box, text);
    }
    const std::optional<bool> feeCovered =
        columns.feeCovered ? readFeeCovered(row, *columns.feeCovered) : false;
    if (!feeCovered)
        return Refusal{columns.feeCoveredRefusal, {}, {}};
    return calculate(calculator, {texts, *feeCovered}, range, rules, nullptr);
}

} // namespace

BatchResult runBatch(const CliCalculator& calculator, IntegerRange range,
                     const BatchOptions& options, QIODevice& input, QIODevice& output)
{
    CsvReader reader(input, 64 * 1024, options.encoding);
    if (auto refused = readHeader(reader))
        return *refused;
    QString problem;
    const std::optional<ColumnMap> columns = mapColumns(reader, calculator, options.rules.set, problem);
    if (!columns)
        return unreadable(problem);

    if (auto refused = refusedByteOrderMark(options.byteOrderMark, reader))
        return *refused;

    // The output keeps the input's encoding, byte order mark and line breaks.
    CsvWriter writer(output, reader.endedWithCrLf(), reader.encoding());
    if (reader.hadByteOrderMark() || options.byteOrderMark)
        writer.byteOrderMark();
    const qsizetype width = reader.fieldCount();
    for (qsizetype i = 0; i < width; ++i)
        writer.field(reader.field(i));
    const QStringList captions = calculator.calculator.statementCaptions(options.rules.set);
    for (const QString& caption : captions)
        writer.field(caption);
    writer.field(QByteArrayView("message"));
    writer.endRecord();

    BatchResult result;
    BoxTexts texts = columns->omitted;
    // Once the output refuses bytes, reading on would only be wasted.
    while (writer.ok() && nextRecord(reader, width, result)) {
        const Statement statement = calculateRow(calculator, range, options.rules, reader, *columns, texts);
        for (qsizetype i = 0; i < width; ++i)
            writer.field(reader.field(i));
        if (statement) {
            for (const ShownFigure& figure : *statement)
                writer.field(figure.text);
            writer.field(QByteArrayView());
        } else {
            for (qsizetype i = 0; i < captions.size(); ++i)
                writer.field(QByteArrayView());
            writer.field(statement.why().message);
            result.kind = BatchResult::Kind::SomeRefused;
        }
        writer.endRecord();
    }

    if (!writer.flush())
        return {BatchResult::Kind::WriteFailed, output.errorString()};
    return result;
}
