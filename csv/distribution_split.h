#pragma once

#include "calc/ledger/ledger.h"

#include <QDate>

#include <optional>

// A broker's distribution row states the gross and the tax withheld, but not how much of
// the distribution was 元本払戻金. The split is read back from the tax, by the ledger's own
// rules, only when no other split gives the same tax.

// The 元本払戻金 per 10,000 units that makes a distribution of `distribution` per 10,000
// on `units` withhold `tax` yen (both taxes) in `account` on `date`, when exactly one does.
[[nodiscard]] std::optional<Integer> returnedFromTax(Integer units, Integer distribution, Integer tax,
                                                     ledger::Account account, QDate date,
                                                     ledger::Rounding distributionRounding);
