#pragma once

#include "broker_rows.h"
#include "cell_record.h"
#include "ledger_figures.h"
#include "ledger_rows.h"

#include <utility>
#include <vector>

namespace broker {

// A merged history's events as the rows of the ledger's own format that
// writeLedgerInputs() writes for them (the ledger's columns by code, then `source`): each
// row's cells are made as it is reached and read as a file's would be, so that a replay
// of the history gives what a replay of the written file gives, without the file. Rows
// refused on reading are passed over; the row on line n is the (n - 1)th event. The
// history must outlive this.
class HistoryRows final : public LedgerRows {
public:
    HistoryRows(const std::vector<BrokerRow>& history, CsvEncoding encoding);

    [[nodiscard]] bool next() override;
    [[nodiscard]] const std::optional<BatchResult>& stopped() const override { return stopped_; }
    [[nodiscard]] qint64 line() const override { return cells_.line(); }
    [[nodiscard]] const Outcome<ledger::Event, QString>& event() const override { return event_; }
    [[nodiscard]] QString input() const override { return ledgerRowInput(cells_, columns_); }
    [[nodiscard]] QByteArrayView cell(qsizetype index) const override { return cells_.field(index); }
    [[nodiscard]] qsizetype inputWidth() const override { return cells_.fieldCount(); }
    [[nodiscard]] const LedgerColumnIndex& columns() const override { return columns_; }

private:
    const std::vector<BrokerRow>& history_;
    std::size_t next_ = 0;
    CellRecord cells_;
    LedgerColumnIndex columns_;
    FigureText text_;
    FundNames names_;
    std::vector<std::pair<ledger::EventKind, QString>> words_; // the events' names, as kEvents gives them
    Outcome<ledger::Event, QString> event_{QString()};
    std::optional<BatchResult> stopped_; // never: the rows are all there
};

} // namespace broker
