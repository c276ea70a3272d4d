#include "replay.h"

#include "csv/input_file.h"
#include "csv/ledger_reader.h"
#include "csv/ledger_figures.h"
#include "csv/ledger_working.h"

#include "calc/ledger/ledger_declaration.h"
#include "core/trace.h"

#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <bit>

using namespace ledger;

namespace {

// How many rows pass between two looks at the cancel flag and the progress.
constexpr std::size_t kStride = 4096;

// A row as read, before the rows of every file are put in date order.
struct ReadRow {
    std::optional<Event> event;
    QString refusal;          // why the row describes no event
    QDate date;               // the event's, or the row before it's, so that it keeps its place
    std::uint32_t file = 0;
    std::uint32_t line = 0;
    std::uint32_t cells[4] = {}; // date, fund, account and event as written, of a row not read
};

// Every file's rows in date order; rows of one date keep the files' order.
void sortByDate(std::vector<ReadRow>& rows)
{
    std::stable_sort(rows.begin(), rows.end(), [](const ReadRow& a, const ReadRow& b) { return a.date < b.date; });
}

QString fileProblem(const QString& path, const QString& problem)
{
    return QStringLiteral("%1 を読めません: %2").arg(QFileInfo(path).fileName(), problem);
}

// Where one file's rows are read from, for the working of one of them.
struct Capture {
    std::uint32_t file = 0;
    std::uint32_t line = 0;
    QString input; // the row's input as the working shows it
};

} // namespace

// Builds a replay: texts kept once each, figures packed per row.
class ReplayBuilder {
public:
    ReplayBuilder(Replay& replay, const QStringList& files, const BookOptions& options, const ReplayControl& control)
        : replay_(replay), control_(control)
    {
        replay_.names_ = {QString()};
        replay_.files_ = files;
        replay_.options_ = options;
    }

    // Reads every file's rows; false, with `problem`, when one cannot be read.
    bool read(const QStringList& files, std::vector<ReadRow>& rows, QString& problem, Capture* capture)
    {
        qint64 total = 0;
        for (const QString& file : files)
            total += std::max<qint64>(QFileInfo(file).size(), 1);
        qint64 before = 0;
        for (std::uint32_t index = 0; index < std::uint32_t(files.size()); ++index) {
            const QString& path = files[index];
            std::unique_ptr<QIODevice> device = openInput(path, problem);
            if (!device) {
                problem = fileProblem(path, problem);
                return false;
            }
            LedgerReader reader(*device);
            if (const std::optional<BatchResult> refused = reader.readHeader()) {
                problem = fileProblem(path, refused->problem);
                return false;
            }
            QDate last;
            while (reader.next()) {
                ReadRow row;
                row.file = index;
                row.line = std::uint32_t(reader.line());
                const Outcome<Event, QString>& event = reader.event();
                if (event) {
                    row.event = event.value();
                    row.event->fund = intern(row.event->fund).second;
                    last = row.event->date;
                } else {
                    row.refusal = event.why();
                    const Column shown[4] = {Column::Date, Column::Fund, Column::Account, Column::Event};
                    for (int c = 0; c < 4; ++c)
                        row.cells[c] = intern(ledgerCell(reader.csv(), reader.columns(), shown[c])).first;
                }
                row.date = last;
                if (capture && capture->file == index && capture->line == row.line)
                    capture->input = reader.input();
                rows.push_back(std::move(row));
                if (rows.size() % kStride == 0) {
                    if (control_.cancelled())
                        return false;
                    const qint64 at = before + device->pos();
                    control_.progress(int(std::min<qint64>(at * 500 / std::max<qint64>(total, 1), 500)));
                }
            }
            if (reader.stopped()) {
                problem = fileProblem(path, reader.stopped()->problem);
                return false;
            }
            before += std::max<qint64>(QFileInfo(path).size(), 1);
        }
        return true;
    }

    // Posts the rows, in date order, to `book`, and keeps what each shows.
    bool post(std::vector<ReadRow>& rows, Book& book)
    {
        sortByDate(rows);
        replay_.rows_.reserve(rows.size());
        for (std::size_t at = 0; at < rows.size(); ++at) {
            ReadRow& read = rows[at];
            if (read.event) {
                const Outcome<Posted, PostRefusal> posted = book.post(*read.event);
                if (posted) {
                    for (const ClosedYear& closed : posted->closed)
                        settlement(closed);
                    applied(read, *read.event, *posted);
                } else {
                    refused(read, posted.why());
                }
            } else {
                refused(read, read.refusal);
            }
            read = ReadRow(); // its event's memory goes now, not after the last row
            if (at % kStride == 0) {
                if (control_.cancelled())
                    return false;
                control_.progress(int(500 + at * 500 / rows.size()));
            }
        }
        return true;
    }

    // The rows of the years the end of the input closes, the holdings, the report.
    void finish(Book& book)
    {
        replay_.holdings_.clear();
        for (const HeldFund& held : book.holdings()) {
            replay_.holdings_.push_back(
                {intern(held.fund).first, intern(accountText(held.account)).first, held.account, held.fund, held.holding});
        }
        replay_.book_ = book;
        for (const ClosedYear& closed : book.close())
            settlement(closed);
        for (const auto& [key, line] : book.reports()) {
            ReportRow row{key.year, accountText(key.account), {}};
            for (const ReportDecl& column : kReportColumns)
                row.sums.push_back(workingText(line.*column.sum).toLongLong());
            replay_.report_.push_back(std::move(row));
        }
        collectFilters();
    }

    // The row's place in the names, and the name as kept (shared by every row).
    std::pair<std::uint32_t, QString> intern(const QString& text)
    {
        if (text.isEmpty())
            return {0, QString()};
        const auto found = index_.constFind(text);
        if (found != index_.constEnd())
            return {*found, replay_.names_[*found]};
        const auto at = std::uint32_t(replay_.names_.size());
        replay_.names_.append(text);
        index_.insert(text, at);
        return {at, text};
    }

private:
    ReplayRow& start(const ReadRow& read, RowState state)
    {
        ReplayRow& row = replay_.rows_.emplace_back();
        row.state = state;
        row.date = read.event ? read.event->date : QDate();
        row.file = read.file;
        row.line = read.line;
        row.firstValue = std::uint32_t(replay_.values_.size());
        if (read.event) {
            const Event& event = *read.event;
            row.fund = intern(event.fund).first;
            row.account = intern(accountText(event.accountId())).first;
            row.event = eventName(event.kind);
            const std::optional<Integer> Event::*inputs[] = {&Event::units, &Event::amount, &Event::nav,
                                                             &Event::distribution};
            for (int i = 0; i < kInputFigureCount; ++i)
                keep(row, RowFigure(i), event.*inputs[i]);
        } else {
            row.dateText = read.cells[0];
            row.fund = read.cells[1];
            row.account = read.cells[2];
            row.event = read.cells[3];
        }
        return row;
    }

    void applied(const ReadRow& read, const Event& event, const Posted& posted)
    {
        ReplayRow& row = start(read, RowState::Applied);
        const bool held = touchesHolding(event.kind);
        const Holding& holding = posted.holding;
        int figure = kInputFigureCount;
        for (const FigureDecl& decl : kFigures) {
            switch (decl.source) {
            case FigureSource::HeldUnits:
                keep(row, RowFigure(figure), held ? std::optional<Integer>(holding.units) : std::nullopt);
                break;
            case FigureSource::HeldPrincipal:
                if (held && holding.units != 0)
                    keep(row, RowFigure(figure), holding.principal.raw());
                break;
            case FigureSource::HeldCost:
                if (held && holding.units != 0)
                    keep(row, RowFigure(figure), holding.cost.raw());
                break;
            case FigureSource::EventFigure:
                keep(row, RowFigure(figure), posted.figures.*decl.figure);
                break;
            case FigureSource::YearGain:
                keep(row, RowFigure(figure), posted.year ? std::optional<Integer>(posted.year->gain) : std::nullopt);
                break;
            case FigureSource::Message:
                break;
            }
            ++figure;
        }
    }

    void refused(const ReadRow& read, const QString& why)
    {
        ReplayRow& row = start(read, RowState::Refused);
        row.message = intern(why).first;
        ++replay_.refused_;
    }

    void settlement(const ClosedYear& closed)
    {
        if (!closed.settlement)
            return;
        ReplayRow& row = replay_.rows_.emplace_back();
        row.state = RowState::Settlement;
        row.date = QDate(closed.settlement->year, 12, 31);
        row.account = intern(accountText(closed.account)).first;
        row.event = intern(kSettlementEvent.toString()).first;
        row.firstValue = std::uint32_t(replay_.values_.size());
        const Figures figures = settlementFigures(*closed.settlement);
        int figure = kInputFigureCount;
        for (const FigureDecl& decl : kFigures) {
            if (decl.source == FigureSource::EventFigure)
                keep(row, RowFigure(figure), figures.*decl.figure);
            ++figure;
        }
    }

    void keep(ReplayRow& row, RowFigure figure, const std::optional<std::int64_t>& value)
    {
        if (!value)
            return;
        row.present |= 1u << unsigned(figure);
        replay_.values_.push_back(*value);
    }

    std::uint32_t eventName(EventKind kind)
    {
        for (const EventDecl& decl : kEvents) {
            if (decl.kind == kind)
                return intern(QString::fromUtf8(decl.japanese)).first;
        }
        return 0;
    }

    void collectFilters()
    {
        std::vector<std::uint32_t> funds;
        std::vector<std::uint32_t> accounts;
        std::vector<int> years;
        for (const ReplayRow& row : replay_.rows_) {
            funds.push_back(row.fund);
            accounts.push_back(row.account);
            if (row.date.isValid())
                years.push_back(row.date.year());
        }
        const auto unique = [](auto& list, auto less) {
            std::sort(list.begin(), list.end(), less);
            list.erase(std::unique(list.begin(), list.end()), list.end());
        };
        const auto byName = [this](std::uint32_t a, std::uint32_t b) { return replay_.names_[a] < replay_.names_[b]; };
        unique(funds, byName);
        unique(accounts, byName);
        unique(years, std::less<int>());
        std::erase(funds, 0u);
        std::erase(accounts, 0u);
        replay_.funds_ = std::move(funds);
        replay_.accounts_ = std::move(accounts);
        replay_.years_ = std::move(years);
    }

    Replay& replay_;
    const ReplayControl& control_;
    QHash<QString, std::uint32_t> index_;
};

Replay::Replay() : names_{QString()}, book_(options_) {}

std::optional<std::int64_t> Replay::figure(const ReplayRow& row, RowFigure figure) const
{
    const std::uint32_t bit = 1u << unsigned(figure);
    if (!(row.present & bit))
        return std::nullopt;
    // The values before this one are those of the lower bits.
    const auto before = unsigned(std::popcount(row.present & (bit - 1)));
    return values_[row.firstValue + before];
}

BookOptions bookOptions(const LedgerPreferences& settings)
{
    BookOptions options;
    options.roundings = settings.roundings;
    options.dividendNetting = settings.dividendNetting;
    return options;
}

QString rowFigureCaption(RowFigure figure)
{
    static constexpr Column kInputs[] = {Column::Units, Column::Amount, Column::Nav, Column::Distribution};
    const int at = int(figure);
    if (at < kInputFigureCount)
        return columnDecl(kInputs[at]).caption.toString();
    return kFigures[std::size_t(at - kInputFigureCount)].caption.toString();
}

QStringList reportCaptions()
{
    QStringList captions{kReportYearCaption.toString(), kReportAccountCaption.toString()};
    for (const ReportDecl& column : kReportColumns)
        captions << column.caption.toString();
    return captions;
}

QString accountText(const AccountId& account)
{
    const QString kind = accountName(account.kind).toString();
    return account.broker.isEmpty() ? kind : kind + QStringLiteral("（") + account.broker + QStringLiteral("）");
}

ReplayOutcome replayFiles(const QStringList& files, const BookOptions& options, const ReplayControl& control)
{
    auto replay = std::make_shared<Replay>();
    ReplayBuilder builder(*replay, files, options, control);
    std::vector<ReadRow> rows;
    QString problem;
    if (!builder.read(files, rows, problem, nullptr))
        return {nullptr, problem};
    Book book(options);
    if (!builder.post(rows, book))
        return {nullptr, QString()};
    builder.finish(book);
    control.progress(1000);
    return {std::move(replay), QString()};
}

RowWorking rowWorking(const Replay& replay, qsizetype at)
{
    const QString changed = QStringLiteral("開いたあとでファイルが変わったため、この行の計算過程を示せません。"
                                           "ファイルを開き直してください");
    if (at < 0 || at >= replay.rowCount())
        return {QString(), changed};
    const ReplayRow& target = replay.row(at);
    const bool settlementRow = target.state == RowState::Settlement;
    Replay scratch;
    const ReplayControl control;
    ReplayBuilder builder(scratch, replay.files(), replay.options(), control);
    std::vector<ReadRow> rows;
    QString problem;
    Capture capture{target.file, target.line, QString()};
    if (!builder.read(replay.files(), rows, problem, settlementRow ? nullptr : &capture))
        return {QString(), problem};
    sortByDate(rows);

    // The same rows as the replay, counted as it shows them, up to the one asked for.
    Book book(replay.options());
    qsizetype shown = 0;
    const auto settled = [&](const std::vector<ClosedYear>& closed) -> std::optional<QString> {
        for (const ClosedYear& year : closed) {
            if (!year.settlement)
                continue;
            if (shown++ == at)
                return settlementWorking(year.year, replay.options().dividendNetting);
        }
        return std::nullopt;
    };
    for (const ReadRow& read : rows) {
        const bool mine = !settlementRow && read.file == target.file && read.line == target.line;
        if (!read.event) {
            if (mine)
                return shown == at ? RowWorking{refusedRowWorking(capture.input, {}, read.refusal), QString()}
                                   : RowWorking{QString(), changed};
            ++shown;
            continue;
        }
        Trace trace;
        const Outcome<Posted, PostRefusal> posted = book.post(*read.event, mine ? &trace : nullptr);
        if (posted) {
            if (const std::optional<QString> text = settled(posted->closed))
                return {*text, QString()};
        }
        if (mine) {
            if (shown != at)
                return {QString(), changed};
            return {posted ? postedRowWorking(capture.input, trace.steps(), *read.event, *posted)
                           : refusedRowWorking(capture.input, trace.steps(), posted.why()),
                    QString()};
        }
        ++shown;
    }
    if (const std::optional<QString> text = settled(book.close()))
        return {*text, QString()};
    return {QString(), changed};
}
