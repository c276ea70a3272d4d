#include "stated_figures.h"

#include <QStringList>

using namespace ledger;

namespace broker {
namespace {

std::optional<Integer> sum(std::optional<Integer> a, std::optional<Integer> b)
{
    if (!a || !b)
        return std::nullopt;
    return *a + *b;
}

} // namespace

QString statedDifferences(const Stated& stated, EventKind kind, const Figures& figures)
{
    QStringList differences;
    const auto compare = [&](QStringView name, std::optional<Integer> inFile, std::optional<Integer> inLedger) {
        if (inFile && inLedger && *inFile != *inLedger) {
            differences.append(QStringLiteral("ファイルでは%1 %2 円、記帳では %3 円")
                                   .arg(name, QString::number(*inFile), QString::number(*inLedger)));
        }
    };
    const std::optional<Integer> tax = sum(figures.incomeTax, figures.residentTax);
    switch (kind) {
    case EventKind::Distribution:
    case EventKind::Reinvestment: {
        const std::optional<Integer> gross = sum(figures.ordinary, figures.returned);
        compare(u"分配金（税引前）", stated.gross, gross);
        compare(u"税額", stated.tax, tax);
        compare(u"受取金額", stated.net, gross && tax ? std::optional<Integer>(*gross - *tax) : std::nullopt);
        break;
    }
    case EventKind::Purchase:
        compare(u"受渡金額", stated.settlement,
                figures.settlement ? std::optional<Integer>(-*figures.settlement) : std::nullopt);
        break;
    case EventKind::Redemption: {
        compare(u"税額", stated.tax, tax);
        const std::optional<Integer> beforeTax = sum(figures.settlement, tax);
        if (stated.settlement != figures.settlement && stated.settlement != beforeTax)
            compare(u"受渡金額", stated.settlement, figures.settlement);
        break;
    }
    default:
        break;
    }
    return differences.join(QStringLiteral("。"));
}

QString statedRemark(const Stated& stated, const QString& note, EventKind kind, const Figures& figures)
{
    const QString differences = statedDifferences(stated, kind, figures);
    return note.isEmpty() || differences.isEmpty() ? note + differences : note + u'。' + differences;
}

std::function<QString(qint64, const Event&, const Figures&)> statedRemarks(const std::vector<BrokerRow>& history)
{
    // Copies: the rows themselves are freed before the replay.
    struct Written {
        Stated stated;
        QString note; // how the row was read, when in a way of its own
    };
    std::vector<Written> written; // by the line writeLedgerInputs gave each row
    for (const BrokerRow& row : history) {
        if (row.kind == BrokerRow::Kind::Event)
            written.push_back({row.stated, row.note});
    }
    return [written = std::move(written)](qint64 line, const Event& event, const Figures& figures) {
        const std::size_t row = static_cast<std::size_t>(line - 2);
        if (line < 2 || row >= written.size())
            return QString();
        return statedRemark(written[row].stated, written[row].note, event.kind, figures);
    };
}

} // namespace broker
