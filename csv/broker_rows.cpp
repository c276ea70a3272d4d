#include "broker_rows.h"

#include "csv_reader.h"
#include "fund_name.h"

#include <memory>

namespace broker {

using ledger::EventKind;

struct BrokerRowReader::Caches {
    struct Name {
        QString printed;
        QString key;
    };
    CellCache<Name> names;
    CellCache<std::optional<AccountWord>> accounts;
    CellCache<std::optional<Action>> actions;
    CellCache<bool> funds;  // 商品: a fund's
    CellCache<bool> yen;    // 通貨: yen (or blank)
    CellCache<QString> courses;
};

// One record's cells, by what they mean.
class BrokerRowReader::Cells {
public:
    Cells(const CsvReader& record, const LayoutDecl& layout, const FieldIndex& fields)
        : record_(record), layout_(layout), fields_(fields)
    {
    }

    [[nodiscard]] bool has(Field field) const { return index(field).has_value(); }
    [[nodiscard]] QByteArrayView bytes(Field field) const
    {
        const std::optional<qsizetype> at = index(field);
        return at ? record_.field(*at).trimmed() : QByteArrayView();
    }
    [[nodiscard]] QString text(Field field) const
    {
        const std::optional<qsizetype> at = index(field);
        return at ? record_.fieldText(*at).trimmed() : QString();
    }
    [[nodiscard]] DecodeCell decoder(Field field) const
    {
        return [this, field] { return text(field); };
    }
    // The column's name in the file's header, as messages name it.
    [[nodiscard]] QString caption(Field field) const
    {
        for (const LayoutColumn& column : layout_.columns) {
            if (column.field == field)
                return column.caption.toString();
        }
        return QString();
    }
    // Whether any cell holds `word`, as a summary row does.
    [[nodiscard]] bool anyCellHolds(QStringView word) const
    {
        for (qsizetype i = 0; i < record_.fieldCount(); ++i) {
            if (!isAscii(record_.field(i)) && record_.fieldText(i).contains(word))
                return true;
        }
        return false;
    }

private:
    [[nodiscard]] std::optional<qsizetype> index(Field field) const { return fields_[static_cast<std::size_t>(field)]; }

    const CsvReader& record_;
    const LayoutDecl& layout_;
    const FieldIndex& fields_;
};

namespace {

QString figureProblem(const QString& caption, const QString& cell, FigureProblem problem)
{
    switch (problem) {
    case FigureProblem::Fraction:
        return QStringLiteral("%1「%2」に円未満の端数があります").arg(caption, cell);
    case FigureProblem::TooLarge:
        return QStringLiteral("%1「%2」が大きすぎます").arg(caption, cell);
    case FigureProblem::NotANumber:
        break;
    }
    return QStringLiteral("%1「%2」は数値ではありません").arg(caption, cell);
}

bool isYen(const QString& currency)
{
    const QString key = wordKey(currency);
    return key.isEmpty() || key == u"-" || key == u"--" || key == u"円" || key == u"JPY";
}

} // namespace

BrokerRowReader::BrokerRowReader(const LayoutDecl& layout, const FieldIndex& fields, qsizetype width, QString file)
    : layout_(layout), fields_(fields), width_(width), file_(std::move(file)), broker_(layout.broker.toString()),
      caches_(std::make_unique<Caches>())
{
}

BrokerRowReader::~BrokerRowReader() = default;

BrokerRow& BrokerRowReader::read(const CsvReader& record)
{
    row_ = BrokerRow{};
    row_.source = {file_, record.line()};
    row_.event.broker = broker_;
    price_.reset();
    fee_.reset();
    units_.reset();
    const Cells cells(record, layout_, fields_);
    if (record.fieldCount() != width_ || record.field(0).trimmed().isEmpty()) {
        bool blank = true;
        for (qsizetype i = 0; i < record.fieldCount() && blank; ++i)
            blank = record.field(i).trimmed().isEmpty();
        if (blank) {
            passOver(QStringLiteral("空の行"));
            return row_;
        }
    }
    if (record.fieldCount() != width_) {
        refuse(QStringLiteral("列が %1 個あります（見出しは %2 個）").arg(record.fieldCount()).arg(width_));
        return row_;
    }
    readRow(cells);
    return row_;
}

void BrokerRowReader::readRow(const Cells& cells)
{
    const std::optional<QDate> date = dateCell(cells.bytes(Field::Date), cells.decoder(Field::Date));
    if (!date) {
        if (cells.anyCellHolds(u"合計"))
            passOver(QStringLiteral("合計の行"));
        else
            refuse(QStringLiteral("%1「%2」は日付ではありません").arg(cells.caption(Field::Date), cells.text(Field::Date)));
        return;
    }
    row_.event.date = *date;

    const Caches::Name& name = caches_->names.get(cells.bytes(Field::Fund), [&] {
        const QString printed = cells.text(Field::Fund);
        return Caches::Name{printed, fundNameKey(printed)};
    });
    row_.printedFund = name.printed;
    row_.event.fund = name.key;

    const bool fund = !cells.has(Field::Product)
                      || caches_->funds.get(cells.bytes(Field::Product), [&] {
                             const QString product = cells.text(Field::Product);
                             return product.isEmpty() || isFundProduct(product);
                         });
    std::optional<Action> action = Action::Distribution;
    if (!layout_.actions.empty()) {
        action = caches_->actions.get(cells.bytes(Field::Action),
                                      [&] { return actionWord(layout_, cells.text(Field::Action)); });
        if (!action || !fund) {
            passOver(QStringLiteral("%1「%2」は投資信託の取引ではありません")
                         .arg(cells.caption(Field::Action), cells.text(Field::Action)));
            return;
        }
        if (*action == Action::MoneyFund) {
            passOver(QStringLiteral("MRF は投資信託の保有に入りません"));
            return;
        }
        if (*action == Action::Transfer) {
            refuse(QStringLiteral("投資信託の%1は読めません。NISA から特定口座へ移したときは、その日の払出の行を加えてください")
                       .arg(cells.text(Field::Action)));
            return;
        }
    }
    if (row_.event.fund.isEmpty()) {
        refuse(QStringLiteral("%1がありません").arg(cells.caption(Field::Fund)));
        return;
    }

    const std::optional<AccountWord>& account = caches_->accounts.get(
        cells.bytes(Field::Account), [&] { return accountWord(cells.text(Field::Account)); });
    if (!account) {
        refuse(QStringLiteral("%1「%2」は読めません").arg(cells.caption(Field::Account), cells.text(Field::Account)));
        return;
    }
    row_.event.account = account->account;
    row_.event.specifiedOrGeneral = account->specifiedOrGeneral;

    // A stock's dividend counts in the 特定口座's year only.
    if (layout_.actions.empty() && !fund && row_.event.account != ledger::Account::Specified) {
        passOver(QStringLiteral("%1「%2」の配当は特定口座のものだけ読みます")
                     .arg(cells.caption(Field::Product), cells.text(Field::Product)));
        return;
    }
    if (cells.has(Field::Currency)
        && !caches_->yen.get(cells.bytes(Field::Currency), [&] { return isYen(cells.text(Field::Currency)); })) {
        refuse(QStringLiteral("%1「%2」: 円でない取引は読めません").arg(cells.caption(Field::Currency), cells.text(Field::Currency)));
        return;
    }
    if (cells.has(Field::Course)) {
        row_.stated.course = caches_->courses.get(cells.bytes(Field::Course), [&] { return cells.text(Field::Course); });
    }
    if (!readFigures(cells))
        return;

    if (layout_.actions.empty()) {
        readDistributionList(cells, fund);
        return;
    }
    switch (*action) {
    case Action::Purchase:
        row_.event.nav = price_;
        row_.event.fee = fee_;
        row_.event.settlement = row_.stated.settlement;
        event(EventKind::Purchase);
        break;
    case Action::Redemption:
        row_.event.redemptionPrice = price_;
        event(EventKind::Redemption);
        break;
    case Action::Reinvestment:
        row_.event.nav = price_;
        event(EventKind::Reinvestment);
        break;
    case Action::Distribution:
        row_.event.distribution = price_;
        event(EventKind::Distribution);
        break;
    case Action::Transfer:
    case Action::MoneyFund:
        break;
    }
}

bool BrokerRowReader::readFigures(const Cells& cells)
{
    const auto figure = [&](Field field, auto& into) {
        const auto read = figureCell(cells.bytes(field), cells.decoder(field));
        if (!read) {
            refuse(figureProblem(cells.caption(field), cells.text(field), read.why()));
            return false;
        }
        into = *read;
        return true;
    };
    if (!figure(Field::Units, units_) || !figure(Field::Price, price_) || !figure(Field::Fee, fee_)
        || !figure(Field::Tax, row_.stated.tax) || !figure(Field::Gross, row_.stated.gross)
        || !figure(Field::Net, row_.stated.net))
        return false;
    const auto paid = paidAmountCell(cells.bytes(Field::Settlement), cells.decoder(Field::Settlement));
    if (!paid) {
        refuse(figureProblem(cells.caption(Field::Settlement), cells.text(Field::Settlement), paid.why()));
        return false;
    }
    row_.stated.settlement = paid->amount;
    row_.stated.points = paid->points;
    row_.event.units = units_;
    return true;
}

void BrokerRowReader::readDistributionList(const Cells& cells, bool fund)
{
    if (fund) {
        row_.event.distribution = price_;
        event(EventKind::Distribution);
        return;
    }
    const QString product = cells.text(Field::Product);
    if (!row_.stated.gross) {
        refuse(QStringLiteral("%1「%2」の配当は税引前の金額がないため読めません。税引前の金額で配当の行を加えてください")
                   .arg(cells.caption(Field::Product), product));
        return;
    }
    if (row_.event.specifiedOrGeneral) {
        row_.event.specifiedOrGeneral = false;
        row_.note = QStringLiteral("%1「%2」を特定口座として読みました")
                        .arg(cells.caption(Field::Account), cells.text(Field::Account));
    }
    row_.event.units.reset();
    row_.event.amount = row_.stated.gross;
    event(EventKind::Dividend);
}

void BrokerRowReader::event(EventKind kind)
{
    row_.kind = BrokerRow::Kind::Event;
    row_.event.kind = kind;
}

void BrokerRowReader::passOver(QString why)
{
    row_.kind = BrokerRow::Kind::PassedOver;
    row_.note = std::move(why);
}

void BrokerRowReader::refuse(QString why)
{
    row_.kind = BrokerRow::Kind::Refused;
    row_.note = std::move(why);
}

} // namespace broker
