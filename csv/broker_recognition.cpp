#include "broker_recognition.h"

#include "csv_reader.h"

#include <QStringList>

namespace broker {
namespace {

std::optional<Recognised> layoutHeader(const CsvReader& record)
{
    for (const LayoutDecl& layout : kLayouts) {
        if (std::optional<FieldIndex> fields = matchHeader(record, layout))
            return Recognised{layout.layout, *fields, {}, record.fieldCount()};
    }
    return std::nullopt;
}

QString readable()
{
    QStringList names;
    for (const LayoutDecl& layout : kLayouts)
        names.append(layoutTitle(layout));
    names.append(QStringLiteral("記帳ファイル（1 行目に見出し）"));
    return names.join(u'、');
}

} // namespace

std::optional<FieldIndex> matchHeader(const CsvReader& record, const LayoutDecl& layout)
{
    FieldIndex fields;
    qsizetype at = 0;
    for (const LayoutColumn& column : layout.columns) {
        if (at < record.fieldCount() && record.fieldText(at).trimmed() == column.caption) {
            if (column.field != Field::Ignored)
                fields[static_cast<std::size_t>(column.field)] = at;
            ++at;
        } else if (!column.optional) {
            return std::nullopt;
        }
    }
    for (; at < record.fieldCount(); ++at) {
        if (!record.field(at).trimmed().isEmpty())
            return std::nullopt;
    }
    return fields;
}

Outcome<Recognised, QString> recognise(CsvReader& reader)
{
    std::optional<QString> ledgerProblem;
    for (;;) {
        switch (reader.next()) {
        case CsvReader::Result::End:
            return QStringLiteral("読める形式ではありません。読めるのは %1です%2")
                .arg(readable(), ledgerProblem
                                     ? QStringLiteral("（1 行目を記帳ファイルの見出しとして読むと: %1）")
                                           .arg(*ledgerProblem)
                                     : QString());
        case CsvReader::Result::Malformed:
            return QStringLiteral("%1 行目: %2").arg(reader.line()).arg(reader.problem());
        case CsvReader::Result::Record:
            break;
        }
        if (std::optional<Recognised> found = layoutHeader(reader))
            return *found;
        if (ledgerProblem)
            continue;
        // The ledger's own header, only as the first record.
        Outcome<LedgerColumnIndex, QString> columns = mapLedgerColumns(reader);
        if (columns)
            return Recognised{std::nullopt, {}, *columns, reader.fieldCount()};
        ledgerProblem = columns.why();
    }
}

} // namespace broker
