#include "replay.h"

#include "csv/holdings_check.h"
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

} // namespace

// Builds a replay: texts kept once each, figures packed per row.
class ReplayBuilder {
public:
    ReplayBuilder(Replay& replay, const InputRequest& request, const ReplayControl& control)
        : replay_(replay), control_(control)
    {
        replay_.names_ = {QString()};
        replay_.request_ = request;
    }

    // Posts every row, in the command line's order, to a book under `options` (with the
    // brokers' conventions), and keeps what each shows; false when a file cannot be read
    // (`problem` says why) or when cancelled.
    bool run(InputRows& rows, BookOptions options, std::optional<Book>& book, QString& problem)
    {
        if (!rows.open(options.roundings)) {
            problem = rows.problem();
            return false;
        }
        if (!replay_.request_.holdings.isEmpty()) {
            Outcome<BrokerHoldings, QString> held = loadBrokerHoldings(replay_.request_.holdings);
            if (!held) {
                problem = held.why();
                return false;
            }
            held_ = std::move(held.value());
        }
        replay_.options_ = options;
        replay_.conventions_ = rows.conventions();
        replay_.passedOver_ = rows.passedOver();
        book.emplace(options);
        std::size_t count = 0;
        while (rows.next()) {
            if (!rows.read()) {
                unread(rows, rows.refusal());
            } else if (const Outcome<Event, QString>& read = rows.reader().event()) {
                Event event = read.value();
                event.fund = intern(event.fund).second;
                const Outcome<Posted, PostRefusal> posted = book->post(event);
                if (posted) {
                    for (const ClosedYear& closed : posted->closed)
                        settlement(closed);
                    applied(rows, event, *posted);
                } else {
                    refused(rows, &event, refusalText(posted.why()));
                }
            } else {
                refused(rows, nullptr, read.why());
            }
            if (++count % kStride == 0) {
                if (control_.cancelled())
                    return false;
                control_.progress(rows.permille() * 9 / 10);
            }
        }
        problem = rows.problem();
        return problem.isEmpty();
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
        if (held_) {
            // The book's holdings at that broker, or all of them when no row names a broker.
            const std::vector<HeldFund> holdings = book.holdings();
            const bool named = std::any_of(holdings.begin(), holdings.end(),
                                           [&](const HeldFund& h) { return h.account.broker == held_->broker; });
            const HoldingsCheck check = checkHoldings(*held_, holdings, named ? held_->broker : QString());
            replay_.holdingsCheck_ = check.lines();
            replay_.holdingsDiffer_ = check.anyMarked;
        }
        for (const ClosedYear& closed : book.close())
            settlement(closed);
        for (const auto& [key, line] : book.reports()) {
            ReportRow row{key.year, accountText(key.account), {}};
            for (const ReportDecl& column : kReportColumns)
                row.sums.push_back(reportApplies(column, key.account.kind)
                                       ? std::optional(workingText(line.*column.sum).toLongLong())
                                       : std::nullopt);
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
    // A row of a file, as read; `event` none when the row describes none.
    ReplayRow& start(const InputRows& rows, const Event* event, RowState state)
    {
        ReplayRow& row = replay_.rows_.emplace_back();
        row.state = state;
        row.date = event ? event->date : QDate();
        row.file = rows.file();
        row.line = rows.line();
        row.firstValue = std::uint32_t(replay_.values_.size());
        if (event) {
            row.fund = intern(event->fund).first;
            row.account = intern(accountText(event->accountId())).first;
            row.event = eventName(event->kind);
            const CompactOptional<Integer> Event::*inputs[] = {&Event::units, &Event::amount, &Event::nav,
                                                             &Event::distribution};
            for (int i = 0; i < kInputFigureCount; ++i)
                keep(row, RowFigure(i), event->*inputs[i]);
        } else {
            // The cells as written, for a row that could not be read.
            const LedgerReader& reader = rows.reader();
            const auto cell = [&](Column column) { return intern(ledgerCell(reader.csv(), reader.columns(), column)).first; };
            row.dateText = cell(Column::Date);
            row.fund = cell(Column::Fund);
            row.account = cell(Column::Account);
            row.event = cell(Column::Event);
        }
        return row;
    }

    void applied(const InputRows& rows, const Event& event, const Posted& posted)
    {
        ReplayRow& row = start(rows, &event, RowState::Applied);
        row.message = intern(rows.remark(event, posted.figures)).first;
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

    void refused(const InputRows& rows, const Event* event, const QString& why)
    {
        ReplayRow& row = start(rows, event, RowState::Refused);
        row.message = intern(why).first;
        ++replay_.refused_;
    }

    // A row refused before the ledger saw it: its date and fund, which the message is about.
    void unread(const InputRows& rows, const InputRows::Refusal& refusal)
    {
        ReplayRow& row = replay_.rows_.emplace_back();
        row.state = RowState::Refused;
        row.date = refusal.event.date;
        row.file = rows.file();
        row.line = rows.line();
        row.firstValue = std::uint32_t(replay_.values_.size());
        row.fund = intern(refusal.fund.isEmpty() ? refusal.event.fund : refusal.fund.trimmed()).first;
        row.message = intern(refusal.why).first;
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
        row.event = intern((closed.provisional ? kProvisionalSettlementEvent : kSettlementEvent).toString()).first;
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
        // Each once, then the names in their order.
        const auto unique = [](auto& list) {
            std::sort(list.begin(), list.end());
            list.erase(std::unique(list.begin(), list.end()), list.end());
        };
        unique(funds);
        unique(accounts);
        unique(years);
        const auto byName = [this](std::uint32_t a, std::uint32_t b) { return replay_.names_[a] < replay_.names_[b]; };
        std::sort(funds.begin(), funds.end(), byName);
        std::sort(accounts.begin(), accounts.end(), byName);
        std::erase(funds, 0u);
        std::erase(accounts, 0u);
        replay_.funds_ = std::move(funds);
        replay_.accounts_ = std::move(accounts);
        replay_.years_ = std::move(years);
    }

    Replay& replay_;
    const ReplayControl& control_;
    std::optional<BrokerHoldings> held_;
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
    // The years not over yet settle as forecasts.
    options.asOf = QDate::currentDate();
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

ReplayOutcome replayFiles(const InputRequest& request, const BookOptions& options, const ReplayControl& control)
{
    auto replay = std::make_shared<Replay>();
    ReplayBuilder builder(*replay, request, control);
    InputRows rows(request);
    std::optional<Book> book;
    QString problem;
    if (!builder.run(rows, options, book, problem))
        return {nullptr, problem};
    builder.finish(*book);
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
    InputRows rows(replay.request());
    Roundings roundings; // the replay's own are kept in its options
    if (!rows.open(roundings))
        return {QString(), rows.problem()};

    // The same rows as the replay, counted as it shows them, up to the one asked for.
    Book book(replay.options());
    qsizetype shown = 0;
    const auto settled = [&](const std::vector<ClosedYear>& closed) -> std::optional<QString> {
        for (const ClosedYear& year : closed) {
            if (!year.settlement)
                continue;
            if (shown++ == at)
                return settlementWorking(year.year, replay.options().dividendNetting, year.provisional);
        }
        return std::nullopt;
    };
    while (rows.next()) {
        const bool mine = !settlementRow && rows.file() == target.file && rows.line() == target.line;
        if (!rows.read()) {
            // Refused before the ledger saw it: nothing was worked out.
            if (mine) {
                const QString where = QStringLiteral("【%1:%2】\n").arg(replay.files().value(target.file).section(u'/', -1)).arg(target.line);
                return shown == at ? RowWorking{refusedRowWorking(where, {}, rows.refusal().why), QString()}
                                   : RowWorking{QString(), changed};
            }
            ++shown;
            continue;
        }
        const LedgerReader& reader = rows.reader();
        const Outcome<Event, QString>& event = reader.event();
        if (!event) {
            if (mine)
                return shown == at ? RowWorking{refusedRowWorking(reader.input(), {}, event.why()), QString()}
                                   : RowWorking{QString(), changed};
            ++shown;
            continue;
        }
        Trace trace;
        const Outcome<Posted, PostRefusal> posted = book.post(event.value(), mine ? &trace : nullptr);
        if (posted) {
            if (const std::optional<QString> text = settled(posted->closed))
                return {*text, QString()};
        }
        if (mine) {
            if (shown != at)
                return {QString(), changed};
            return {posted ? postedRowWorking(reader.input(), trace.steps(), event.value(), *posted)
                           : refusedRowWorking(reader.input(), trace.steps(), refusalText(posted.why())),
                    QString()};
        }
        ++shown;
    }
    if (!rows.problem().isEmpty())
        return {QString(), rows.problem()};
    if (const std::optional<QString> text = settled(book.close()))
        return {*text, QString()};
    return {QString(), changed};
}
