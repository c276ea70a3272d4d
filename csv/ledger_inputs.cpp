#include "ledger_inputs.h"

#include "broker_file.h"
#include "broker_merge.h"
#include "broker_pairing.h"
#include "csv_encoding.h"
#include "csv_writer.h"
#include "distribution_split.h"
#include "history_rows.h"
#include "input_file.h"
#include "ledger_figures.h"

#include "core/exact.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

#ifdef __linux__
#include <sys/mman.h>
#endif

#include <algorithm>
#include <cstdint>

using namespace ledger;

namespace broker {
namespace {

// Asks for the memory of a long history in huge pages: filling it then takes a fault per
// 2 MB rather than per 4 kB, and faults are what filling it costs most.
void adviseHugePages(void* memory, std::size_t size)
{
#ifdef __linux__
    constexpr std::uintptr_t kHuge = 2 << 20;
    const auto begin = (reinterpret_cast<std::uintptr_t>(memory) + kHuge - 1) & ~(kHuge - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(memory) + size) & ~(kHuge - 1);
    if (end > begin)
        (void)madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE); // only advice
#else
    (void)memory;
    (void)size;
#endif
}

// One file's rows: those the ledger takes go to `rows`, the others to `passedOver`.
std::optional<QString> readFile(const QString& path, std::vector<BrokerRow>& rows, LedgerInputs& inputs)
{
    QString problem;
    const std::unique_ptr<QIODevice> device = openInput(path, problem);
    if (!device)
        return problem;
    const QString name = path.isEmpty() || path == u"-" ? QStringLiteral("標準入力") : QFileInfo(path).fileName();
    BrokerFile file(*device, name);
    if (std::optional<QString> refused = file.open())
        return refused;
    inputs.layouts.push_back(file.layout());
    // As the header ended its line: the reader forgets it at the end of the file.
    inputs.allCrLf = inputs.allCrLf && file.csv().endedWithCrLf();
    // Room for as many rows as a file of short lines holds, so that a long history is not
    // moved as it grows; what is not filled is never touched.
    constexpr qint64 kShortLine = 96;
    if (!device->isSequential()) {
        rows.reserve(static_cast<std::size_t>(device->size() / kShortLine));
        adviseHugePages(rows.data(), rows.capacity() * sizeof(BrokerRow));
    }
    while (file.next()) {
        const bool passedOver = file.row().kind == BrokerRow::Kind::PassedOver;
        (passedOver ? inputs.passedOver : rows).push_back(file.takeRow());
    }
    if (file.stopped())
        return *file.stopped();
    return std::nullopt;
}

// The 元本払戻金 per 10,000 units that the row's tax leaves no doubt about, by the
// rounding of the broker that worked the tax out.
std::optional<Integer> splitFromTax(const BrokerRow& row, const std::vector<std::optional<Layout>>& layouts)
{
    const Event& event = row.event;
    const std::optional<Integer> units =
        event.kind == EventKind::Distribution ? event.units : row.stated.heldUnits;
    if (!units || !event.distribution || !row.stated.tax)
        return std::nullopt;
    Rounding rounding = Roundings{}.distribution;
    for (const std::optional<Layout>& layout : layouts) {
        if (layout && layoutDecl(*layout).broker == event.broker && layoutDecl(*layout).distributionRounding)
            rounding = *layoutDecl(*layout).distributionRounding;
    }
    return returnedFromTax(*units, *event.distribution, *row.stated.tax, event.account, event.date, rounding);
}

// A distribution needs the distribution per 10,000 units and the NAV after it (or the
// 元本払戻金): what the row lacks comes from the fund's price history, failing that from
// the split its tax allows alone, never a guess.
void completeDistributions(std::vector<BrokerRow>& history, const NavHistory* navs,
                           const std::vector<std::optional<Layout>>& layouts)
{
    for (BrokerRow& row : history) {
        Event& event = row.event;
        if (row.kind != BrokerRow::Kind::Event
            || (event.kind != EventKind::Distribution && event.kind != EventKind::Reinvestment))
            continue;
        const bool lacksNav = !event.nav && !event.returned;
        if (!lacksNav && event.distribution)
            continue;
        const std::optional<NavDay> day = navs ? navs->lastDistribution(event.fund, event.date) : std::nullopt;
        if (day) {
            if (lacksNav)
                event.nav = day->nav;
            if (!event.distribution)
                event.distribution = day->distribution;
            continue;
        }
        if (lacksNav && event.distribution) {
            if (const std::optional<Integer> returned = splitFromTax(row, layouts)) {
                event.returned = returned;
                continue;
            }
        }
        row.kind = BrokerRow::Kind::Refused;
        row.note = QStringLiteral("%1 の %2 の分配は%3がわかりません: --nav でこの銘柄の基準価額と分配金の履歴を渡してください")
                       .arg(row.printedFund.isEmpty() ? event.fund : row.printedFund,
                            event.date.toString(Qt::ISODate),
                            lacksNav ? QStringLiteral("分配落ち後の基準価額") : QStringLiteral("1万口当たりの分配金"));
    }
}

// A row on a fund the broker's history never bought is refused by the book for want of
// a holding; when a held fund's name begins alike (a renamed fund, a name cut short),
// the row says which, so that --fund-names can join them.
void hintUnknownFunds(std::vector<BrokerRow>& history)
{
    constexpr qsizetype kAlike = 10;
    QHash<QString, QHash<QString, QString>> held; // by broker: by key, the name printed
    for (BrokerRow& row : history) {
        if (row.kind != BrokerRow::Kind::Event || row.event.fund.isEmpty())
            continue;
        QHash<QString, QString>& funds = held[row.event.broker];
        const Event& event = row.event;
        if (event.kind == EventKind::Purchase || event.kind == EventKind::Balance) {
            funds.insert(event.fund, row.printedFund.isEmpty() ? event.fund : row.printedFund);
            continue;
        }
        if (funds.contains(event.fund) || event.fund.size() < kAlike)
            continue;
        for (auto fund = funds.cbegin(); fund != funds.cend(); ++fund) {
            if (fund.key().startsWith(QStringView(event.fund).left(kAlike))) {
                row.kind = BrokerRow::Kind::Refused;
                row.note = QStringLiteral("%1 の保有がありません。名前の始まりが同じ %2 なら --fund-names で名前をつなげてください")
                               .arg(row.printedFund.isEmpty() ? event.fund : row.printedFund, fund.value());
                break;
            }
        }
    }
}

// Each fund under the name its first row printed: rows matched by their key may print it
// differently (widths, spaces, a renamed fund's old name).
void nameFunds(std::vector<BrokerRow>& history)
{
    QHash<QString, QString> shown;
    for (BrokerRow& row : history) {
        if (row.kind != BrokerRow::Kind::Event || row.event.fund.isEmpty())
            continue;
        const QString printed = row.printedFund.isEmpty() ? row.event.fund : row.printedFund.trimmed();
        const auto found = shown.constFind(row.event.fund);
        row.event.fund = found != shown.constEnd() ? found.value() : *shown.insert(row.event.fund, printed);
    }
}

} // namespace

Outcome<LedgerInputs, QString> readLedgerInputs(const QStringList& files, const FundRenames& renames,
                                               const NavHistory* navs)
{
    LedgerInputs inputs;
    std::vector<std::vector<BrokerRow>> read;
    for (const QString& path : files) {
        read.emplace_back();
        if (std::optional<QString> problem = readFile(path, read.back(), inputs))
            return *problem;
    }
    std::vector<BrokerRow> history = mergedHistory(std::move(read));
    renames.apply(history);
    inputs.history = pairedReinvestments(std::move(history));
    hintUnknownFunds(inputs.history);
    completeDistributions(inputs.history, navs, inputs.layouts);
    nameFunds(inputs.history);
    return inputs;
}

std::optional<QString> nameCp932Lacks(const std::vector<BrokerRow>& history)
{
    Cp932Codec codec;
    QSet<QString> checked; // names repeat row after row
    std::string scratch;
    for (const BrokerRow& row : history) {
        if (row.kind != BrokerRow::Kind::Event)
            continue;
        for (const QString* name : {&row.event.fund, &row.event.broker, &row.source.file}) {
            if (checked.contains(*name))
                continue;
            scratch.clear();
            if (!codec.encode(*name, scratch))
                return *name;
            checked.insert(*name);
        }
    }
    return std::nullopt;
}

QString sourceText(const Source& source)
{
    return source.file + u':' + QString::number(source.line);
}

void writeLedgerInputs(const std::vector<BrokerRow>& history, CsvWriter& writer)
{
    HistoryRows rows(history, writer.encoding());
    const auto writeCells = [&] {
        for (qsizetype i = 0; i < rows.inputWidth(); ++i)
            writer.field(rows.cell(i));
        writer.endRecord();
    };
    writeCells(); // the header
    while (rows.next())
        writeCells();
}

} // namespace broker
