#pragma once

#include "cell_cache.h"

#include "calc/ledger/ledger_declaration.h"
#include "core/outcome.h"

#include <QByteArrayView>
#include <QString>

#include <array>
#include <optional>

class CellRecord;
class CsvReader;

// Where each of the ledger's columns stands in a header; none for a column it lacks.
using LedgerColumnIndex = std::array<std::optional<qsizetype>, ledger::kColumnCount>;

// How many of the header's columns are input: all but the figures a file the ledger wrote
// ends with (kFigures' captions, in order, as the last columns), which are worked out again.
[[nodiscard]] qsizetype ledgerInputWidth(const CsvReader& header);

// The input columns of the header, found by code or caption in any order, or why they
// cannot be.
[[nodiscard]] Outcome<LedgerColumnIndex, QString> mapLedgerColumns(const CsvReader& header);

// Whether the record is a row the ledger writes itself (年末精算, 年末精算（見込み）),
// which reading a file it wrote skips.
[[nodiscard]] bool isLedgerSettlementRow(const CsvReader& record, const LedgerColumnIndex& columns);

// The funds' names as read, by their cells' bytes: a file names the same few funds on
// row after row, and each name is decoded once.
using FundNames = CellCache<QString>;

// The event the reader's record describes, or why it describes none. `names`, when
// given, keeps the funds' names from row to row.
[[nodiscard]] Outcome<ledger::Event, QString> readLedgerEvent(const CsvReader& record, const LedgerColumnIndex& columns,
                                                              FundNames* names = nullptr);
[[nodiscard]] Outcome<ledger::Event, QString> readLedgerEvent(const CellRecord& record, const LedgerColumnIndex& columns,
                                                              FundNames* names = nullptr);

// The record's cell in a column, trimmed; blank when the header lacks the column.
[[nodiscard]] QString ledgerCell(const CsvReader& record, const LedgerColumnIndex& columns, ledger::Column column);

// The record's input as the working shows it: its line, then each cell that is not blank.
[[nodiscard]] QString ledgerRowInput(const CsvReader& record, const LedgerColumnIndex& columns);
[[nodiscard]] QString ledgerRowInput(const CellRecord& record, const LedgerColumnIndex& columns);
