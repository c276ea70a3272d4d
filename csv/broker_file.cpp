#include "broker_file.h"

#include "fund_name.h"

namespace broker {

BrokerFile::BrokerFile(QIODevice& input, QString name) : name_(std::move(name)), csv_(input) {}

BrokerFile::~BrokerFile() = default;

std::optional<QString> BrokerFile::open()
{
    Outcome<Recognised, QString> found = recognise(csv_);
    if (!found) {
        stopped_ = QStringLiteral("%1: %2").arg(name_, found.why());
        return stopped_;
    }
    recognised_ = *found;
    if (recognised_.layout) {
        rows_ = std::make_unique<BrokerRowReader>(layoutDecl(*recognised_.layout), recognised_.fields,
                                                  recognised_.width, name_);
    }
    return std::nullopt;
}

bool BrokerFile::next()
{
    if (stopped_)
        return false;
    switch (csv_.next()) {
    case CsvReader::Result::End:
        return false;
    case CsvReader::Result::Malformed:
        stopped_ = QStringLiteral("%1: %2 行目: %3").arg(name_).arg(csv_.line()).arg(csv_.problem());
        return false;
    case CsvReader::Result::Record:
        break;
    }
    if (rows_) {
        row_ = &rows_->read(csv_);
    } else {
        readLedgerRow();
        row_ = &ledgerRow_;
    }
    return true;
}

void BrokerFile::readLedgerRow()
{
    ledgerRow_ = BrokerRow{};
    ledgerRow_.source = {name_, csv_.line()};
    if (csv_.fieldCount() != recognised_.width) {
        ledgerRow_.kind = BrokerRow::Kind::Refused;
        ledgerRow_.note =
            QStringLiteral("列が %1 個あります（見出しは %2 個）").arg(csv_.fieldCount()).arg(recognised_.width);
        return;
    }
    Outcome<ledger::Event, QString> event = readLedgerEvent(csv_, recognised_.columns, &names_);
    if (!event) {
        ledgerRow_.kind = BrokerRow::Kind::Refused;
        ledgerRow_.note = event.why();
        return;
    }
    ledgerRow_.event = std::move(event.value());
    ledgerRow_.printedFund = ledgerRow_.event.fund;
    const QString& name = ledgerRow_.printedFund;
    const QByteArrayView utf16(reinterpret_cast<const char*>(name.utf16()), name.size() * 2);
    ledgerRow_.event.fund = keys_.get(utf16, [&] { return fundNameKey(name); });
}

} // namespace broker
