#include "ledger_reader.h"

#include "csv_records.h"

LedgerReader::LedgerReader(QIODevice& input, std::optional<CsvEncoding> encoding)
    : csv_(input, 64 * 1024, encoding)
{
}

std::optional<BatchResult> LedgerReader::readHeader()
{
    if (std::optional<BatchResult> refused = ::readHeader(csv_))
        return refused;
    const Outcome<LedgerColumnIndex, QString> columns = mapLedgerColumns(csv_);
    if (!columns)
        return unreadable(columns.why());
    columns_ = *columns;
    width_ = csv_.fieldCount();
    header_ = cells();
    return std::nullopt;
}

bool LedgerReader::next()
{
    BatchResult result;
    if (stopped_ || !nextRecord(csv_, width_, result)) {
        if (result.kind == BatchResult::Kind::Unreadable)
            stopped_ = result;
        return false;
    }
    event_ = readLedgerEvent(csv_, columns_, &names_);
    return true;
}

QStringList LedgerReader::cells() const
{
    QStringList cells;
    cells.reserve(csv_.fieldCount());
    for (qsizetype i = 0; i < csv_.fieldCount(); ++i)
        cells.append(csv_.fieldText(i));
    return cells;
}
