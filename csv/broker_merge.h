#pragma once

#include "broker_rows.h"

#include <vector>

namespace broker {

// The rows of several files as one history, in the order the ledger replays it: by date,
// within a day distributions (and dividends), then reinvestments, then the other trades,
// then as the files and their lines come. Rows passed over are left out; a refused row
// stays where its date puts it, after everything when it has none.
[[nodiscard]] std::vector<BrokerRow> mergedHistory(std::vector<std::vector<BrokerRow>> files);

} // namespace broker
