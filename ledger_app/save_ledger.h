#pragma once

#include "input_rows.h"
#include "ledger_preferences.h"

#include <QString>
#include <QStringList>

// Writes the rows (or the yearly report) of the files of `request` to `path` with the
// bytes `miroven-calc ledger` (or `--report`) writes for them under the same options. In
// the encoding the preferences ask for: one file in the ledger's own format in the other
// one is read as it would be written in that encoding, several files and brokers'
// downloads are merged in it (as --encoding asks). The file at `path` is replaced only
// when all was written.
struct SaveOutcome {
    QString problem; // why nothing was saved; empty when saved
    bool someRefused = false; // saved, but some rows hold a message
};
[[nodiscard]] SaveOutcome saveLedger(const InputRequest& request, const LedgerPreferences& preferences, bool report,
                                     const QString& path);
