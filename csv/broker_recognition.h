#pragma once

#include "broker_layouts.h"
#include "ledger_columns.h"

#include "core/outcome.h"

#include <QString>

#include <array>
#include <optional>

class CsvReader;

namespace broker {

// Where each field stands in a layout's rows; none for a field the layout lacks.
using FieldIndex = std::array<std::optional<qsizetype>, kFieldCount>;

// What a file is: one of the brokers' layouts, or the ledger's own format.
struct Recognised {
    std::optional<Layout> layout; // none: the ledger's own format
    FieldIndex fields;            // a layout's
    LedgerColumnIndex columns;    // the ledger's
    qsizetype width = 0;          // the header's fields, which every row has
};

// The fields of `record` when it is the whole header of `layout` (a column the layout
// marks optional may be missing; empty cells may trail), else nothing.
[[nodiscard]] std::optional<FieldIndex> matchHeader(const CsvReader& record, const LayoutDecl& layout);

// Reads `reader` up to and including its header: the first record that is a layout's
// whole header, after a preamble of any length; or line 1 as the ledger's header when no
// layout's header is there. Otherwise why the file cannot be read, naming what can.
[[nodiscard]] Outcome<Recognised, QString> recognise(CsvReader& reader);

} // namespace broker
