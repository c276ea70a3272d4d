#pragma once

#include "broker_recognition.h"
#include "broker_rows.h"
#include "csv_reader.h"
#include "ledger_columns.h"

#include <QString>

#include <memory>
#include <optional>

class QIODevice;

namespace broker {

// One input of the ledger, whatever it is: a broker's download or a file in the ledger's
// own format, read a row at a time into events. Holds only the row being read.
class BrokerFile {
public:
    // `name` is how rows name their source.
    BrokerFile(QIODevice& input, QString name);
    ~BrokerFile();
    BrokerFile(const BrokerFile&) = delete;
    BrokerFile& operator=(const BrokerFile&) = delete;

    // Finds what the file is: nothing when its rows can follow, else why it cannot be read.
    [[nodiscard]] std::optional<QString> open();
    // The layout found by open(); none for the ledger's own format.
    [[nodiscard]] std::optional<Layout> layout() const { return recognised_.layout; }

    // Reads the next row: true for one; false at the end, or with stopped() saying why
    // the file cannot be read from here on.
    [[nodiscard]] bool next();
    [[nodiscard]] const BrokerRow& row() const { return *row_; }
    // The row, moved out: next() reads the following one afresh.
    [[nodiscard]] BrokerRow takeRow() { return std::move(*row_); }
    [[nodiscard]] const std::optional<QString>& stopped() const { return stopped_; }

    [[nodiscard]] const CsvReader& csv() const { return csv_; }

private:
    void readLedgerRow();

    QString name_;
    CsvReader csv_;
    Recognised recognised_;
    std::unique_ptr<BrokerRowReader> rows_; // a layout's
    FundNames names_;                       // the ledger's own format's
    CellCache<QString> keys_;               // and their keys, by their UTF-16
    BrokerRow ledgerRow_;
    BrokerRow* row_ = &ledgerRow_;
    std::optional<QString> stopped_;
};

} // namespace broker
