#pragma once

#include "batch.h"
#include "ledger_options.h"

class QIODevice;

// Replays the events of a CSV with a header row, read from `input` one row at a time,
// and writes to `output` each row as read followed by its holding's figures and a
// message column (or, with request.explain, the working of each event as text). A
// refused row changes no holding and the ledger goes on; input that cannot be read
// stops it after the rows already written. Memory grows with the holdings, not the rows.
[[nodiscard]] BatchResult runLedger(const LedgerRequest& request, QIODevice& input, QIODevice& output);
