#pragma once

#include "batch_result.h"
#include "ledger_columns.h"

#include "calc/ledger/ledger.h"
#include "core/outcome.h"

#include <QByteArrayView>
#include <QString>

#include <optional>

// The rows a ledger run replays, one at a time: a file in the ledger's own format as it is
// read, or a history already read. Before the first row, the cells are the header's.
class LedgerRows {
public:
    virtual ~LedgerRows() = default;

    // Moves to the next row: true for one; false at the end, or with stopped() saying why
    // no more can be read.
    [[nodiscard]] virtual bool next() = 0;
    [[nodiscard]] virtual const std::optional<BatchResult>& stopped() const = 0;

    // The row: the line it began on, its event (or why it describes none), its input as
    // the working shows it.
    [[nodiscard]] virtual qint64 line() const = 0;
    [[nodiscard]] virtual const Outcome<ledger::Event, QString>& event() const = 0;
    [[nodiscard]] virtual QString input() const = 0;
    // Its input cells, as the bytes the output's CSV writes back.
    [[nodiscard]] virtual QByteArrayView cell(qsizetype index) const = 0;
    [[nodiscard]] virtual qsizetype inputWidth() const = 0;
    [[nodiscard]] virtual const LedgerColumnIndex& columns() const = 0;
};
