#pragma once

#include "core/outcome.h"
#include "csv/ledger_stream.h"

#include <QString>
#include <QStringList>

#include <optional>

// The command name of the ledger: miroven-calc ledger [options] [FILE...|-].
inline constexpr QStringView kLedgerCommand = u"ledger";

// What `miroven-calc ledger` is asked to do.
struct LedgerRequest {
    QStringList files; // none, or "-": standard input
    QString fundNames; // --fund-names: old name, new name per row
    QString nav;       // --nav: the funds' price histories
    QString holdings;  // --holdings: the broker's holdings, checked after the replay
    QStringList given; // the options given, by name
    LedgerSettings settings;
};

// Reads the arguments after "ledger", or says in one line why not.
[[nodiscard]] Outcome<LedgerRequest, QString> parseLedgerArguments(const QStringList& arguments);

// The ledger's part of --help: its columns, events and figures from the ledger's
// declaration, then its options.
[[nodiscard]] QString ledgerHelpText();
