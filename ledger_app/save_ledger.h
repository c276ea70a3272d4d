#pragma once

#include "ledger_preferences.h"

#include <QString>
#include <QStringList>

// Writes the rows (or the yearly report) of the open file to `path` with the bytes
// `miroven-calc ledger` (or `--report`) writes for it under the same options. In the
// encoding the preferences ask for: a file in the other one is read as it would be
// written in that encoding. The file at `path` is replaced only when all was written.
struct SaveOutcome {
    QString problem; // why nothing was saved; empty when saved
    bool someRefused = false; // saved, but some rows hold a message
};
[[nodiscard]] SaveOutcome saveLedger(const QStringList& files, const LedgerPreferences& preferences, bool report,
                                     const QString& path);
