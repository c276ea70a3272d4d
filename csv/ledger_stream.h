#pragma once

#include "batch_result.h"
#include "csv_encoding.h"

#include "calc/ledger/book.h"

#include <QString>

#include <functional>
#include <optional>

class LedgerRows;
class QIODevice;

// What a ledger run writes.
enum class LedgerOutput {
    Rows,                   // each row as read, then its figures and a message (CSV)
    Working,                // each row's working and the 年末精算s' (text)
    Report,                 // the yearly report (CSV)
    ReportWithWorking,      // ... then the 年末精算s' working (text)
    ReportTable,            // the yearly report as a table (text)
    ReportTableWithWorking, // ... then the 年末精算s' working
};

[[nodiscard]] constexpr bool isReport(LedgerOutput output)
{
    return output != LedgerOutput::Rows && output != LedgerOutput::Working;
}
[[nodiscard]] constexpr bool explains(LedgerOutput output)
{
    return output == LedgerOutput::Working || output == LedgerOutput::ReportWithWorking
           || output == LedgerOutput::ReportTableWithWorking;
}
// Whether the output starts as CSV (a byte order mark and a header row).
[[nodiscard]] constexpr bool writesCsv(LedgerOutput output)
{
    return output == LedgerOutput::Rows || output == LedgerOutput::Report
           || output == LedgerOutput::ReportWithWorking;
}

struct LedgerSettings {
    ledger::BookOptions book;
    std::optional<CsvEncoding> encoding; // none: told from the input
    bool byteOrderMark = false;          // on UTF-8 CSV output
    LedgerOutput output = LedgerOutput::Rows;
    // Told of the book once every row is replayed and every year closed.
    std::function<void(const ledger::Book&)> replayed;
    // The message of a posted row, by its line (empty: none), in the rows' output.
    std::function<QString(qint64 line, const ledger::Event&, const ledger::Figures&)> remark;
};

// Told of each refused row that the output does not show (the report's): its line and why.
using RefusedRow = std::function<void(qint64 line, const QString& why)>;

// Replays the events of a CSV with a header row, read from `input` one row at a time,
// and writes to `output` what settings.output asks for. The CSV keeps the input's
// encoding, byte order mark and line breaks; the working and the report's table are
// UTF-8. A refused row changes no holding and the ledger goes on; input that cannot be
// read stops it after the rows already written. Memory grows with the holdings, not the
// rows.
[[nodiscard]] BatchResult runLedger(const LedgerSettings& settings, QIODevice& input, QIODevice& output,
                                    const RefusedRow& refused = {});

// How a replay writes its CSV: what runLedger() takes from its input.
struct LedgerCsv {
    CsvEncoding encoding = CsvEncoding::Utf8;
    bool crLf = false;
    bool byteOrderMark = false; // the input had one
};

// Replays `rows`, which are past their header, as runLedger() replays a file's, writing
// its CSV as `csv` says. A byte order mark asked for on CP932 output is the caller's to
// refuse (refusedByteOrderMark()).
[[nodiscard]] BatchResult replayLedger(const LedgerSettings& settings, LedgerRows& rows, const LedgerCsv& csv,
                                       QIODevice& output, const RefusedRow& refused = {});
