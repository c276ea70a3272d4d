#pragma once

#include "broker_rows.h"

#include "calc/ledger/ledger.h"

#include <QString>

#include <functional>
#include <vector>

namespace broker {

// What a broker's file states beside what the ledger worked out for the same row: each
// figure that differs, "ファイルでは税額 1015 円、記帳では 1036 円", joined; empty when all
// agree or the file states none. A sale's 受渡金額 agrees before tax or after it, as
// brokers print it either way.
[[nodiscard]] QString statedDifferences(const Stated& stated, ledger::EventKind kind,
                                        const ledger::Figures& figures);

// The message of a posted row of a history: how the row was read when in a way of its own
// (`note`), then what the file states otherwise.
[[nodiscard]] QString statedRemark(const Stated& stated, const QString& note, ledger::EventKind kind,
                                   const ledger::Figures& figures);

// For a replay of `history` as writeLedgerInputs wrote it: the message of the posted row
// on `line` of that file, how the row was read when in a way of its own (a note), then
// what the file states otherwise. It keeps what it needs of `history`, which may go before it.
[[nodiscard]] std::function<QString(qint64 line, const ledger::Event&, const ledger::Figures&)>
statedRemarks(const std::vector<BrokerRow>& history);

} // namespace broker
