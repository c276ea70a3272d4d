#include "ledger_inputs.h"

#include "broker_file.h"
#include "broker_merge.h"
#include "broker_pairing.h"
#include "csv_writer.h"
#include "input_file.h"
#include "ledger_figures.h"

#include "core/exact.h"

#include <QFileInfo>
#include <QHash>

using namespace ledger;

namespace broker {
namespace {

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
    inputs.layouts.append(file.layout() ? layoutTitle(layoutDecl(*file.layout())) : QStringLiteral("台帳の形式"));
    while (file.next()) {
        const BrokerRow& row = file.row();
        (row.kind == BrokerRow::Kind::PassedOver ? inputs.passedOver : rows).push_back(row);
    }
    if (file.stopped())
        return *file.stopped();
    inputs.allCrLf = inputs.allCrLf && file.csv().endedWithCrLf();
    return std::nullopt;
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

Outcome<LedgerInputs, QString> readLedgerInputs(const QStringList& files, const FundRenames& renames)
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
    nameFunds(inputs.history);
    return inputs;
}

QString sourceText(const Source& source)
{
    return source.file + u':' + QString::number(source.line);
}

void writeLedgerInputs(const std::vector<BrokerRow>& history, CsvWriter& writer)
{
    for (const ColumnDecl& column : kColumns)
        writer.field(column.code);
    writer.field(u"source");
    writer.endRecord();

    FigureText text;
    for (const BrokerRow& row : history) {
        if (row.kind != BrokerRow::Kind::Event)
            continue;
        const Event& event = row.event;
        for (const ColumnDecl& column : kColumns) {
            switch (column.column) {
            case Column::Date:
                writer.field(event.date.toString(Qt::ISODate));
                continue;
            case Column::Fund:
                writer.field(event.fund);
                continue;
            case Column::Account:
                writer.field(event.specifiedOrGeneral ? QStringView(u"特定/一般") : accountName(event.account));
                continue;
            case Column::Event:
                for (const EventDecl& decl : kEvents) {
                    if (decl.kind == event.kind)
                        writer.field(QByteArrayView(decl.japanese));
                }
                continue;
            case Column::Broker:
                writer.field(event.broker);
                continue;
            default:
                break;
            }
            if (column.whole && event.*column.whole)
                writer.field(text.whole(*(event.*column.whole)));
            else if (column.cents && event.*column.cents)
                writer.field(text.price(*(event.*column.cents)));
            else if (column.percent && event.*column.percent)
                writer.field(percentText(*(event.*column.percent)));
            else
                writer.field(QByteArrayView());
        }
        writer.field(sourceText(row.source));
        writer.endRecord();
    }
}

} // namespace broker
