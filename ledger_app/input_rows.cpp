#include "input_rows.h"

#include "csv/broker_conventions.h"
#include "csv/broker_file.h"
#include "csv/broker_holdings.h"
#include "csv/csv_writer.h"
#include "csv/input_file.h"
#include "csv/ledger_inputs.h"
#include "csv/ledger_reader.h"
#include "csv/stated_figures.h"

#include <QBuffer>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

using namespace broker;

namespace {

QString unreadable(const QString& path, const QString& why)
{
    return QStringLiteral("%1 を読めません: %2").arg(QFileInfo(path).fileName(), why);
}

// Whether the file at `path` is a price history: its first record is the header of one.
bool isPriceHistory(const QString& path)
{
    QString problem;
    const std::unique_ptr<QIODevice> device = openInput(path, problem);
    if (!device)
        return false;
    // A price history's header ends its first line; nothing else read begins so.
    const QByteArray first = device->readLine(256);
    NavHistory probe;
    QByteArray head = first;
    QBuffer buffer(&head);
    buffer.open(QIODevice::ReadOnly);
    return !probe.read(buffer);
}

// Whether the file at `path` is a broker's holdings download: its header is among its
// first lines (after a title and the day of the download).
bool isHoldings(const QString& path)
{
    QString problem;
    const std::unique_ptr<QIODevice> device = openInput(path, problem);
    if (!device)
        return false;
    constexpr int kLines = 8;
    QByteArray head;
    for (int i = 0; i < kLines && !device->atEnd(); ++i)
        head += device->readLine(4096);
    QBuffer buffer(&head);
    buffer.open(QIODevice::ReadOnly);
    return bool(readBrokerHoldings(buffer, path));
}

} // namespace

QString sortOpened(const QStringList& opened, InputRequest& request)
{
    for (const QString& path : opened) {
        QString* table = isPriceHistory(path) ? &request.nav : isHoldings(path) ? &request.holdings : nullptr;
        if (!table) {
            request.files.append(path);
            continue;
        }
        if (!table->isEmpty() && *table != path)
            return QStringLiteral("%1は一つだけ開けます（%2 と %3）")
                .arg(table == &request.nav ? QStringLiteral("基準価額の履歴") : QStringLiteral("証券会社の保有"),
                     QFileInfo(*table).fileName(), QFileInfo(path).fileName());
        *table = path;
    }
    return QString();
}

QString windowWording(QString text)
{
    static const std::pair<const char*, const char*> kWords[] = {
        {"--nav でこの銘柄の基準価額と分配金の履歴を渡してください",
         "この銘柄の基準価額と分配金の履歴（見出し 基準日,銘柄,基準価額,分配金 の CSV）を一緒に開いてください"},
        {"--fund-names で名前をつなげてください", "「ファイル」の「銘柄名の変更を開く」で名前をつなげてください"},
        {"（読める文字コードは UTF-8 と CP932 で、--encoding で指定できます）", "（読める文字コードは UTF-8 と CP932 です）"},
        {"はオプションのとおり", "は設定のとおり"},
        {"（--distribution-rounding nearest）", ""},
        {"（--distribution-rounding down）", ""},
        {"（--units-rounding broker）", ""},
    };
    for (const auto& [command, window] : kWords)
        text.replace(QString::fromUtf8(command), QString::fromUtf8(window));
    return text;
}

InputRows::InputRows(InputRequest request, CsvEncoding encoding) : request_(std::move(request)), encoding_(encoding) {}

InputRows::~InputRows() = default;

bool InputRows::open(ledger::Roundings& roundings)
{
    bool streamed = request_.files.size() == 1 && request_.nav.isEmpty() && request_.fundNames.isEmpty();
    if (streamed) {
        // Whether it is in the ledger's own format: only the header is read.
        const QString& path = request_.files.front();
        QString problem;
        const std::unique_ptr<QIODevice> probe = openInput(path, problem);
        if (!probe) {
            problem_ = unreadable(path, problem);
            return false;
        }
        BrokerFile file(*probe, path);
        if (std::optional<QString> refused = file.open()) {
            problem_ = windowWording(unreadable(path, *refused));
            return false;
        }
        streamed = !file.layout();
    }
    if (!streamed)
        return mergeFiles(roundings);
    device_ = openInput(request_.files.front(), problem_);
    if (!device_) {
        problem_ = unreadable(request_.files.front(), problem_);
        return false;
    }
    reader_ = std::make_unique<LedgerReader>(*device_);
    if (const std::optional<BatchResult> refused = reader_->readHeader()) {
        problem_ = unreadable(request_.files.front(), refused->problem);
        return false;
    }
    return true;
}

bool InputRows::mergeFiles(ledger::Roundings& roundings)
{
    // The tables beside the events, each read whole.
    const auto readTable = [this](const QString& path, auto& table) {
        QString problem;
        const std::unique_ptr<QIODevice> device = openInput(path, problem);
        if (!device) {
            problem_ = unreadable(path, problem);
            return false;
        }
        if (std::optional<QString> why = table.read(*device)) {
            problem_ = unreadable(path, *why);
            return false;
        }
        return true;
    };
    FundRenames renames;
    NavHistory navs;
    if ((!request_.fundNames.isEmpty() && !readTable(request_.fundNames, renames))
        || (!request_.nav.isEmpty() && !readTable(request_.nav, navs)))
        return false;
    merging_ = true;
    Outcome<LedgerInputs, QString> read =
        readLedgerInputs(request_.files, renames, request_.nav.isEmpty() ? nullptr : &navs);
    if (!read) {
        problem_ = windowWording(read.why());
        return false;
    }
    LedgerInputs& inputs = read.value();
    conventions_ = windowWording(applyConventions(inputs.layouts, request_.given, roundings));
    for (const BrokerRow& row : inputs.passedOver)
        passedOver_.append(QStringLiteral("%1: %2").arg(sourceText(row.source), row.note));
    remark_ = statedRemarks(inputs.history);

    // Rows name their file as read: the first file of that name is the one meant.
    QHash<QString, std::uint32_t> files;
    for (qsizetype i = request_.files.size(); i-- > 0;)
        files.insert(QFileInfo(request_.files[i]).fileName(), std::uint32_t(i));
    slots_.reserve(inputs.history.size());
    for (BrokerRow& row : inputs.history) {
        Slot& slot = slots_.emplace_back();
        slot.file = files.value(row.source.file);
        slot.line = std::uint32_t(row.source.line);
        if (row.kind != BrokerRow::Kind::Event)
            slot.refusal.reset(new Refusal{std::move(row.event), std::move(row.printedFund), windowWording(row.note)});
    }

    QBuffer merged(&merged_);
    merged.open(QIODevice::WriteOnly);
    CsvWriter writer(merged, inputs.allCrLf, encoding_);
    writeLedgerInputs(inputs.history, writer);
    if (!writer.flush()) {
        problem_ = QStringLiteral("読み込んだ取引をまとめられません");
        return false;
    }
    merged.close();
    auto device = std::make_unique<QBuffer>(&merged_);
    device->open(QIODevice::ReadOnly);
    device_ = std::move(device);
    reader_ = std::make_unique<LedgerReader>(*device_);
    if (const std::optional<BatchResult> refused = reader_->readHeader()) {
        problem_ = refused->problem;
        return false;
    }
    return true;
}

bool InputRows::next()
{
    if (!merging_) {
        // Read as it comes.
        if (!reader_->next()) {
            if (reader_->stopped())
                problem_ = unreadable(request_.files.front(), reader_->stopped()->problem);
            return false;
        }
        line_ = std::uint32_t(reader_->line());
        return true;
    }
    if (next_ == slots_.size())
        return false;
    const Slot& slot = slots_[next_++];
    file_ = slot.file;
    line_ = slot.line;
    refusal_ = slot.refusal.get();
    if (refusal_)
        return true;
    if (!reader_->next()) {
        // What was just written reads back; anything else is a fault of ours, said so.
        problem_ = reader_->stopped() ? reader_->stopped()->problem : QStringLiteral("読み込んだ取引が途中で終わりました");
        return false;
    }
    return true;
}

QString InputRows::remark(const ledger::Event& event, const ledger::Figures& figures) const
{
    return remark_ ? remark_(reader_->line(), event, figures) : QString();
}

int InputRows::permille() const
{
    if (!device_)
        return 0;
    return int(std::min<qint64>(device_->pos() * 1000 / std::max<qint64>(device_->size(), 1), 1000));
}
