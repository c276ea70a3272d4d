#include "ledger_files.h"

#include "csv/broker_conventions.h"
#include "csv/broker_file.h"
#include "csv/csv_records.h"
#include "csv/history_rows.h"
#include "csv/holdings_check.h"
#include "csv/input_file.h"
#include "csv/ledger_inputs.h"
#include "csv/stated_figures.h"

#include <algorithm>

using namespace broker;

std::optional<bool> streamsInput(const LedgerRequest& request, QString& problem)
{
    if (request.files.size() > 1 || !request.fundNames.isEmpty() || !request.nav.isEmpty())
        return false;
    const QString path = request.files.isEmpty() ? QString() : request.files.first();
    if (path.isEmpty() || path == u"-")
        return true;
    const std::unique_ptr<QIODevice> device = openInput(path, problem);
    if (!device)
        return std::nullopt;
    BrokerFile file(*device, path);
    if (std::optional<QString> refused = file.open()) {
        problem = *refused; // naming the layouts it is not
        return std::nullopt;
    }
    return !file.layout();
}

BatchResult runLedgerFiles(const LedgerRequest& request, QIODevice& output, const LedgerNotice& notice)
{
    const auto unreadable = [](const QString& why) { return BatchResult{BatchResult::Kind::Unreadable, why}; };
    // The tables the investor adds, each read whole by `table`.
    const auto readTable = [](QStringView option, const QString& path, auto& table) -> std::optional<QString> {
        QString problem;
        const std::unique_ptr<QIODevice> device = openInput(path, problem);
        if (!device)
            return problem;
        if (std::optional<QString> why = table.read(*device))
            return QStringLiteral("--%1 %2: %3").arg(option, path, *why);
        return std::nullopt;
    };
    FundRenames renames;
    if (!request.fundNames.isEmpty()) {
        if (std::optional<QString> why = readTable(u"fund-names", request.fundNames, renames))
            return unreadable(*why);
    }
    NavHistory navs;
    if (!request.nav.isEmpty()) {
        if (std::optional<QString> why = readTable(u"nav", request.nav, navs))
            return unreadable(*why);
    }
    Outcome<LedgerInputs, QString> read =
        readLedgerInputs(request.files.isEmpty() ? QStringList{QStringLiteral("-")} : request.files, renames,
                         request.nav.isEmpty() ? nullptr : &navs);
    if (!read)
        return unreadable(read.why());
    LedgerInputs& inputs = read.value();

    bool refusedOnReading = false;
    std::vector<const BrokerRow*> written; // by the line the merged input gives each row
    written.reserve(inputs.history.size());
    for (const BrokerRow& row : inputs.history) {
        if (row.kind == BrokerRow::Kind::Event) {
            written.push_back(&row);
        } else {
            refusedOnReading = true;
            notice(QStringLiteral("%1: %2").arg(sourceText(row.source), row.note));
        }
    }
    for (const BrokerRow& row : inputs.passedOver)
        notice(QStringLiteral("%1: 読み飛ばしました: %2").arg(sourceText(row.source), row.note));
    if (!inputs.passedOver.empty())
        notice(QStringLiteral("読み飛ばした行: %1").arg(inputs.passedOver.size()));
    std::vector<BrokerRow>().swap(inputs.passedOver);
    // The merged input's row on `line`: the history is read where it is, and outlives the
    // replay below.
    const auto rowOn = [&written](qint64 line) -> const BrokerRow* {
        const std::size_t row = static_cast<std::size_t>(line - 2);
        return line >= 2 && row < written.size() ? written[row] : nullptr;
    };

    LedgerSettings settings = request.settings;
    settings.encoding = settings.encoding.value_or(CsvEncoding::Utf8);
    settings.remark = [&rowOn](qint64 line, const ledger::Event& event, const ledger::Figures& figures) {
        const BrokerRow* row = rowOn(line);
        return row ? statedRemark(row->stated, row->note, event.kind, figures) : QString();
    };
    const QString conventions = applyConventions(inputs.layouts, request.given, settings.book.roundings);
    if (explains(settings.output) && !conventions.isEmpty())
        notice(conventions);
    if (auto refused = refusedByteOrderMark(settings.byteOrderMark && writesCsv(settings.output), *settings.encoding))
        return *refused;
    if (*settings.encoding == CsvEncoding::Cp932) {
        if (const std::optional<QString> name = nameCp932Lacks(inputs.history))
            return unreadable(QStringLiteral("「%1」には CP932 にない文字があるため、CP932 では書き出せません。"
                                             "--encoding utf-8 を使ってください")
                                  .arg(*name));
    }
    HistoryRows rows(inputs.history, *settings.encoding);
    const LedgerCsv csv{*settings.encoding, inputs.allCrLf, false};
    BatchResult result = replayLedger(settings, rows, csv, output, [&](qint64 line, const QString& why) {
        const BrokerRow* row = rowOn(line);
        notice(row ? QStringLiteral("%1: %2").arg(sourceText(row->source), why) : why);
    });
    if (refusedOnReading && result.kind == BatchResult::Kind::AllCalculated)
        result.kind = BatchResult::Kind::SomeRefused;
    return result;
}

std::optional<LedgerSettings> checkingHoldings(const LedgerRequest& request, const LedgerNotice& notice, bool& marked,
                                               QString& problem)
{
    LedgerSettings settings = request.settings;
    if (request.holdings.isEmpty())
        return settings;
    Outcome<BrokerHoldings, QString> loaded = loadBrokerHoldings(request.holdings);
    if (!loaded) {
        problem = loaded.why();
        return std::nullopt;
    }
    settings.replayed = [held = std::move(*loaded), notice, &marked](const ledger::Book& book) {
        const std::vector<ledger::HeldFund> holdings = book.holdings();
        // The ledger's holdings at that broker, or all of them when no row names a broker.
        const bool named = std::any_of(holdings.begin(), holdings.end(),
                                       [&](const ledger::HeldFund& h) { return h.account.broker == held.broker; });
        const HoldingsCheck check = checkHoldings(held, holdings, named ? held.broker : QString());
        for (const QString& line : check.lines())
            notice(line);
        marked = check.anyMarked;
    };
    return settings;
}
