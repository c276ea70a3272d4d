#pragma once

#include "calc/ledger/ledger_declaration.h"
#include "core/outcome.h"

#include <QString>

#include <array>
#include <optional>

class CsvReader;

// Where each of the ledger's columns stands in a header; none for a column it lacks.
using LedgerColumnIndex = std::array<std::optional<qsizetype>, ledger::kColumnCount>;

// The header's columns, found by code or caption in any order, or why they cannot be.
[[nodiscard]] Outcome<LedgerColumnIndex, QString> mapLedgerColumns(const CsvReader& header);

// The event the reader's record describes, or why it describes none.
[[nodiscard]] Outcome<ledger::Event, QString> readLedgerEvent(const CsvReader& record,
                                                              const LedgerColumnIndex& columns);

// The record's cell in a column, trimmed; blank when the header lacks the column.
[[nodiscard]] QString ledgerCell(const CsvReader& record, const LedgerColumnIndex& columns, ledger::Column column);

// The record's input as the working shows it: its line, then each cell that is not blank.
[[nodiscard]] QString ledgerRowInput(const CsvReader& record, const LedgerColumnIndex& columns);
