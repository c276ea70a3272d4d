#pragma once

#include "broker_references.h"
#include "broker_rows.h"

#include "core/outcome.h"

#include <QStringList>

#include <vector>

class CsvWriter;

// The inputs of one ledger run, whatever each file is, as one history.

namespace broker {

struct LedgerInputs {
    // Events and rows refused on reading, in the order the ledger replays them; a fund is
    // named the way its first row printed it, so that each fund goes by one name.
    std::vector<BrokerRow> history;
    std::vector<BrokerRow> passedOver; // not a fund's trade: by file, then line
    std::vector<std::optional<Layout>> layouts; // what each file was found to be; none: the ledger's own
    bool allCrLf = true;               // every file ended its lines with CR LF
};

// Reads `files`, each a broker's download or a file in the ledger's own format, merges
// them, joins renamed funds by `renames`, pairs each 再投資 with its distribution and
// gives a distribution what it lacks (the NAV after it, the distribution per 10,000
// units) from `navs`, refusing it when they do not have it either; or why a file cannot
// be read, naming it.
[[nodiscard]] Outcome<LedgerInputs, QString> readLedgerInputs(const QStringList& files, const FundRenames& renames,
                                                              const NavHistory* navs = nullptr);

// Writes the history's events in the ledger's own format, with the row each came from in
// a `source` column: a file that reads back as the same history. Refused rows are left out.
void writeLedgerInputs(const std::vector<BrokerRow>& history, CsvWriter& writer);

// The first name the history's events would be written with (a fund, a broker, a file)
// that CP932 has no form for, so that it would come out as "?"; none when all have one.
[[nodiscard]] std::optional<QString> nameCp932Lacks(const std::vector<BrokerRow>& history);

// "file:line", as the `source` column and the messages name a row.
[[nodiscard]] QString sourceText(const Source& source);

} // namespace broker
