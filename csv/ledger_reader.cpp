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
    inputWidth_ = ledgerInputWidth(csv_);
    header_ = cells();
    return std::nullopt;
}

bool LedgerReader::next()
{
    BatchResult result;
    do {
        if (stopped_ || !nextRecord(csv_, width_, result)) {
            if (result.kind == BatchResult::Kind::Unreadable)
                stopped_ = result;
            return false;
        }
    } while (isLedgerSettlementRow(csv_, columns_));
    event_ = readLedgerEvent(csv_, columns_, &names_);
    return true;
}

QStringList LedgerReader::cells() const
{
    QStringList cells;
    cells.reserve(inputWidth_);
    for (qsizetype i = 0; i < inputWidth_; ++i)
        cells.append(csv_.fieldText(i));
    return cells;
}
