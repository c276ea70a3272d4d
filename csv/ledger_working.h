#pragma once

#include "calc/ledger/book.h"

#include <QString>
#include <QStringList>

// The ledger's working as text, as `miroven-calc ledger --explain` writes it. Each block
// ends with an empty line.

// A posted row: its input (ledgerRowInput()), the rules' steps as the book traced them,
// then the figures it shows.
[[nodiscard]] QString postedRowWorking(const QString& input, const QStringList& steps, const ledger::Event& event,
                                       const ledger::Posted& posted);
// A refused row: its input, the steps up to the one refused (none when the row described
// no event), then why.
[[nodiscard]] QString refusedRowWorking(const QString& input, const QStringList& steps, const QString& refusal);
// A closed year's 年末精算 (年末精算（見込み） for a year not over); empty for a year that
// is not set against its dividends.
[[nodiscard]] QString settlementWorking(const ledger::AccountYear& year, bool dividendNetting,
                                        bool provisional = false);
