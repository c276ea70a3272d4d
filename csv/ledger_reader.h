#pragma once

#include "batch_result.h"
#include "csv_reader.h"
#include "ledger_columns.h"
#include "ledger_rows.h"

#include <QStringList>

#include <optional>

class QIODevice;

// Reads a file of ledger events a row at a time: the header first, then each row with
// its line, its cells and the event it describes (or why it describes none). The caller
// posts the events to a ledger::Book itself. Holds only the row being read.
class LedgerReader final : public LedgerRows {
public:
    explicit LedgerReader(QIODevice& input, std::optional<CsvEncoding> encoding = std::nullopt);

    // Reads the header row and finds the ledger's columns: nothing when rows can follow,
    // else why the input cannot be read (kind Unreadable).
    [[nodiscard]] std::optional<BatchResult> readHeader();
    // Reads the next row: true for one; false at its end, or with stopped() saying why
    // the input cannot be read from here on. The 年末精算 rows of a file the ledger wrote
    // are passed over.
    [[nodiscard]] bool next() override;
    [[nodiscard]] const std::optional<BatchResult>& stopped() const override { return stopped_; }

    // The row just read: the line it began on, its input cells as text, its event.
    [[nodiscard]] qint64 line() const override { return csv_.line(); }
    [[nodiscard]] QStringList cells() const;
    [[nodiscard]] const Outcome<ledger::Event, QString>& event() const override { return event_; }
    // Its input as the working shows it (see postedRowWorking()).
    [[nodiscard]] QString input() const override { return ledgerRowInput(csv_, columns_); }
    [[nodiscard]] QByteArrayView cell(qsizetype index) const override { return csv_.field(index); }

    // The header's input cells as text (after readHeader()): the figures of a file the
    // ledger wrote are left out.
    [[nodiscard]] const QStringList& header() const { return header_; }
    [[nodiscard]] qsizetype inputWidth() const override { return inputWidth_; }
    [[nodiscard]] const LedgerColumnIndex& columns() const override { return columns_; }
    // The CSV as read, for writing a row back byte for byte.
    [[nodiscard]] const CsvReader& csv() const { return csv_; }

private:
    CsvReader csv_;
    LedgerColumnIndex columns_;
    QStringList header_;
    qsizetype width_ = 0;
    qsizetype inputWidth_ = 0;
    Outcome<ledger::Event, QString> event_{QString()};
    FundNames names_;
    std::optional<BatchResult> stopped_;
};
