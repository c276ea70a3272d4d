#include "named_columns.h"

#include "cell_text.h"
#include "csv_reader.h"
#include "printed_cells.h"

#include <QStringList>

#include <algorithm>

Outcome<std::vector<std::optional<qsizetype>>, QString>
namedColumns(const CsvReader& header, std::span<const QStringView> names, std::size_t required)
{
    std::vector<std::optional<qsizetype>> found(names.size());
    for (qsizetype i = 0; i < header.fieldCount(); ++i) {
        const QString name = normalisedCell(header.fieldText(i)).trimmed();
        const auto known = std::find(names.begin(), names.end(), name);
        if (known == names.end())
            continue;
        std::optional<qsizetype>& index = found[static_cast<std::size_t>(known - names.begin())];
        if (index)
            return QStringLiteral("見出しに列 %1 が二つあります（%2 列目と %3 列目）").arg(name).arg(*index + 1).arg(i + 1);
        index = i;
    }
    QStringList absent;
    for (std::size_t c = 0; c < required; ++c) {
        if (!found[c])
            absent.append(names[c].toString());
    }
    if (!absent.isEmpty())
        return QStringLiteral("見出しに列 %1 がありません").arg(absent.join(u'、'));
    return found;
}

bool nextTableRow(CsvReader& reader, qsizetype width, const QString& source, QString& problem)
{
    switch (reader.next()) {
    case CsvReader::Result::End:
        return false;
    case CsvReader::Result::Malformed:
        problem = atLineOf(source, reader.line(), reader.problem());
        return false;
    case CsvReader::Result::Record:
        break;
    }
    if (reader.fieldCount() == width)
        return true;
    problem = atLineOf(source, reader.line(),
                       QStringLiteral("列が %1 個あります（見出しは %2 個）").arg(reader.fieldCount()).arg(width));
    return false;
}
