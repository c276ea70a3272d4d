#pragma once

#include "csv_encoding.h"

#include "calc/ledger/ledger.h"
#include "core/outcome.h"

#include <QString>
#include <QStringList>

#include <optional>

// The command name of the ledger: miroven-calc ledger [options] [FILE|-].
inline constexpr QStringView kLedgerCommand = u"ledger";

// What `miroven-calc ledger` is asked to do.
struct LedgerRequest {
    QString file;        // empty or "-": standard input
    bool explain = false; // the working of each event instead of the CSV rows
    std::optional<CsvEncoding> encoding;
    bool byteOrderMark = false;
    ledger::Roundings roundings;
    bool dividendNetting = true; // the 特定口座 takes in dividends (配当等の受入れ)
    bool report = false;         // the yearly report instead of the rows
    bool reportText = false;     // the report as a table a person reads
};

// Reads the arguments after "ledger", or says in one line why not.
[[nodiscard]] Outcome<LedgerRequest, QString> parseLedgerArguments(const QStringList& arguments);

// The ledger's part of --help, its options laid out by `optionLine` (indent, option,
// description).
[[nodiscard]] QString ledgerHelpText(QString (*optionLine)(int, const QString&, const QString&));
