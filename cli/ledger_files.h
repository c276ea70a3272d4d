#pragma once

#include "ledger_options.h"

#include "csv/batch_result.h"

#include <QString>

#include <functional>
#include <optional>

class QIODevice;

// Told each line the ledger has for standard error beside its output.
using LedgerNotice = std::function<void(const QString& line)>;

// Whether the request's input is streamed as it comes (one file in the ledger's own
// format, or standard input), rather than read whole, merged and written in the ledger's
// own format first (several files, or a broker's download). Nothing when the file cannot
// be read or is none of the formats: `problem` says why.
[[nodiscard]] std::optional<bool> streamsInput(const LedgerRequest& request, QString& problem);

// Runs the ledger over the request's files read whole: the rows passed over and those
// refused on reading go to `notice` with their file and line, the count of those passed
// over last; the rest is replayed as runLedger() replays a file in the ledger's own format.
[[nodiscard]] BatchResult runLedgerFiles(const LedgerRequest& request, QIODevice& output, const LedgerNotice& notice);

// The settings of `request` with the check of --holdings after the replay: its lines go to
// `notice`, and `marked` tells whether any differs. The broker's file is read first: why
// it cannot be is in `problem`, and nothing is returned.
[[nodiscard]] std::optional<LedgerSettings> checkingHoldings(const LedgerRequest& request, const LedgerNotice& notice,
                                                             bool& marked, QString& problem);
