#pragma once

#include "broker_rows.h"

#include <vector>

namespace broker {

// A broker lists a reinvested distribution twice: as a distribution (the amount per
// 10,000 units, its tax) and as a 再投資 (the units bought and the NAV after). Each 再投資
// row without a distribution of its own takes the distribution row of the same broker,
// fund and account (特定/一般 meets either) within 10 days whose amount after tax is what
// the 再投資 paid; the pair is one 再投資 on the 再投資 row's date, and the distribution
// row leaves the history. Rows that find no partner stay as they are.
[[nodiscard]] std::vector<BrokerRow> pairedReinvestments(std::vector<BrokerRow> history);

} // namespace broker
