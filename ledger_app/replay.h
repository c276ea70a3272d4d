#pragma once

#include "input_rows.h"
#include "ledger_preferences.h"

#include "calc/ledger/book.h"

#include <QDate>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// The opened files replayed through one book in the order the command line replays them,
// kept compact: numbers and indices per row, the texts formed only when a row is shown.

// The book's options from the window's settings.
[[nodiscard]] ledger::BookOptions bookOptions(const LedgerPreferences& settings);

// A row's figures as the table shows them: four of the row's own, then what the book
// gives after it, in the order the command line writes them (ledger::kFigures).
enum class RowFigure : std::uint8_t {
    Units, Amount, Nav, Distribution, // as read
    Held, Principal, Cost, ContractAmount, Fee, Ordinary, Returned, ReinvestedUnits, Proceeds,
    AcquisitionCost, Gain, IncomeTax, ResidentTax, Settlement, YearGain,
};
inline constexpr int kRowFigureCount = int(RowFigure::YearGain) + 1;
inline constexpr int kInputFigureCount = int(RowFigure::Held);
// Principal and Cost are prices to 0.0001 yen (Currency's raw value); the rest whole.
[[nodiscard]] constexpr bool isPrice(RowFigure figure)
{
    return figure == RowFigure::Principal || figure == RowFigure::Cost;
}
// The column caption of a figure: the input column's, or the output's.
[[nodiscard]] QString rowFigureCaption(RowFigure figure);

enum class RowState : std::uint8_t { Applied, Refused, Settlement };

struct ReplayRow {
    QDate date;               // invalid for a row whose date could not be read
    std::uint32_t fund = 0;   // indices into Replay::names (0 is the empty text)
    std::uint32_t account = 0;
    std::uint32_t event = 0;
    std::uint32_t message = 0;
    std::uint32_t dateText = 0; // of a row whose date could not be read
    std::uint32_t file = 0;     // index into Replay::files
    std::uint32_t line = 0;     // in its file; 0 for a 年末精算
    std::uint32_t firstValue = 0;
    std::uint32_t present = 0; // one bit per RowFigure held
    RowState state = RowState::Applied;
};

// One fund held in one account now.
struct HoldingLine {
    std::uint32_t fund = 0;
    std::uint32_t account = 0;
    ledger::AccountId id;
    QString fundName;
    ledger::Holding holding;
};

// A line of the yearly report: its year, account and sums in whole yen.
struct ReportRow {
    int year = 0;
    QString account;
    // In the order of ledger::kReportColumns; none where the column has no figure for the
    // account (a NISA line's taxes).
    std::vector<std::optional<std::int64_t>> sums;
};
// The report's captions: 年, 口座, then each sum's.
[[nodiscard]] QStringList reportCaptions();
// The account as the window names it: its kind, and its broker when it has one.
[[nodiscard]] QString accountText(const ledger::AccountId& account);

class Replay {
public:
    Replay();

    [[nodiscard]] qsizetype rowCount() const { return qsizetype(rows_.size()); }
    [[nodiscard]] const ReplayRow& row(qsizetype at) const { return rows_[std::size_t(at)]; }
    [[nodiscard]] std::optional<std::int64_t> figure(const ReplayRow& row, RowFigure figure) const;
    [[nodiscard]] const QString& name(std::uint32_t at) const { return names_[at]; }
    // The events' files, in the order the rows' `file` counts them.
    [[nodiscard]] const QStringList& files() const { return request_.files; }
    // What was read, to be read again for a row's working or for saving.
    [[nodiscard]] const InputRequest& request() const { return request_; }
    [[nodiscard]] qsizetype refusedCount() const { return refused_; }
    // The brokers' conventions used (empty when no file is a broker's), and the rows that
    // are not a fund's trade, each with its file and line.
    [[nodiscard]] const QString& conventions() const { return conventions_; }
    [[nodiscard]] const QStringList& passedOver() const { return passedOver_; }
    // The broker's holdings beside the book's, as --holdings prints them (none without
    // its download), and whether any line differs.
    [[nodiscard]] const QStringList& holdingsCheck() const { return holdingsCheck_; }
    [[nodiscard]] bool holdingsDiffer() const { return holdingsDiffer_; }

    // The funds, accounts and years the rows name, sorted, for the filters.
    [[nodiscard]] const std::vector<std::uint32_t>& funds() const { return funds_; }
    [[nodiscard]] const std::vector<std::uint32_t>& accounts() const { return accounts_; }
    [[nodiscard]] const std::vector<int>& years() const { return years_; }

    [[nodiscard]] const std::vector<HoldingLine>& holdings() const { return holdings_; }
    // The book as it stood after the last row, before the open years were closed: a
    // what-if is posted to a copy of it.
    [[nodiscard]] const ledger::Book& book() const { return book_; }
    [[nodiscard]] const std::vector<ReportRow>& report() const { return report_; }
    [[nodiscard]] const ledger::BookOptions& options() const { return options_; }

private:
    friend class ReplayBuilder;
    std::vector<ReplayRow> rows_;
    std::vector<std::int64_t> values_;
    QStringList names_;
    InputRequest request_;
    QString conventions_;
    QStringList passedOver_;
    QStringList holdingsCheck_;
    bool holdingsDiffer_ = false;
    qsizetype refused_ = 0;
    std::vector<std::uint32_t> funds_;
    std::vector<std::uint32_t> accounts_;
    std::vector<int> years_;
    std::vector<HoldingLine> holdings_;
    ledger::BookOptions options_;
    ledger::Book book_;
    std::vector<ReportRow> report_;
};

struct ReplayControl {
    std::function<bool()> cancelled = [] { return false; };
    std::function<void(int permille)> progress = [](int) {};
};

struct ReplayOutcome {
    std::shared_ptr<const Replay> replay; // none when refused or cancelled
    QString problem;                      // why, when refused
};

// Reads every file of `request`, then posts the events in the command line's order, under
// `options` with the brokers' conventions where `request` leaves them open. Refused, with
// the file's name and the reason, when a file cannot be opened or read or is none of the
// formats the ledger reads.
[[nodiscard]] ReplayOutcome replayFiles(const InputRequest& request, const ledger::BookOptions& options,
                                        const ReplayControl& control = {});

// The working of one row of `replay`, as `miroven-calc ledger --explain` writes it for
// that row: the files are read and replayed again, the row traced. Refused when a file
// can no longer be read or no longer gives the rows shown.
struct RowWorking {
    QString text;
    QString problem;
};
[[nodiscard]] RowWorking rowWorking(const Replay& replay, qsizetype row);
