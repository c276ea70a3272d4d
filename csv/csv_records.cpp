#include "csv_records.h"

#include "csv_reader.h"

QString sameColumnTwice(const CsvReader& header, qsizetype first, qsizetype second, const QString& secondName,
                        QStringView code, QStringView caption)
{
    return QStringLiteral("見出しの %1 列目「%2」と %3 列目「%4」はどちらも列 %5（%6）です")
        .arg(first + 1)
        .arg(header.fieldText(first).trimmed())
        .arg(second + 1)
        .arg(secondName, code, caption);
}

BatchResult unreadable(const QString& problem) { return {BatchResult::Kind::Unreadable, problem}; }

BatchResult unreadableAt(const CsvReader& reader, const QString& problem)
{
    return unreadable(QStringLiteral("入力の %1 行目: %2").arg(reader.line()).arg(problem));
}

std::optional<BatchResult> readHeader(CsvReader& reader)
{
    switch (reader.next()) {
    case CsvReader::Result::End:
        return unreadable(QStringLiteral("入力が空です（見出しの行が必要です）"));
    case CsvReader::Result::Malformed:
        return unreadableAt(reader, reader.problem());
    case CsvReader::Result::Record:
        break;
    }
    return std::nullopt;
}

std::optional<BatchResult> refusedByteOrderMark(bool asked, const CsvReader& reader)
{
    return refusedByteOrderMark(asked, reader.encoding());
}

std::optional<BatchResult> refusedByteOrderMark(bool asked, CsvEncoding output)
{
    if (!asked || output == CsvEncoding::Utf8)
        return std::nullopt;
    return unreadable(QStringLiteral("入力が CP932 なので、出力も CP932 です。"
                                     "--bom は UTF-8 の出力にだけ使えます"));
}

bool nextRecord(CsvReader& reader, qsizetype width, BatchResult& result)
{
    switch (reader.next()) {
    case CsvReader::Result::End:
        return false;
    case CsvReader::Result::Malformed:
        result = unreadableAt(reader, reader.problem());
        return false;
    case CsvReader::Result::Record:
        break;
    }
    // A row of another width has lost or gained a separator (often an unquoted
    // "10,000"); guessing which column moved could give a wrong figure.
    if (reader.fieldCount() == width)
        return true;
    const QString hint = reader.fieldCount() > width ? QStringLiteral("。「,」を含む値は \"\" で囲みます")
                                                     : QString();
    result = unreadableAt(reader, QStringLiteral("列が %1 個あります（見出しは %2 個%3）")
                                      .arg(reader.fieldCount())
                                      .arg(width)
                                      .arg(hint));
    return false;
}
