#include "holdings_check.h"

#include "fund_name.h"

#include "calc/ledger/ledger_declaration.h"

#include <QHash>

#include <algorithm>

using namespace ledger;

namespace {

// Prices per 10,000 units are compared in 10^-4 yen, a Currency's raw figure: 1 yen apart.
constexpr Wide kOneYen = Currency::kScale;

// Whether n1 / d1 − n2 / d2 ≥ gap, exactly (d1, d2 > 0; gap whole). Apart from the whole
// parts, only the fractions' order matters, and their products stay within 128 bits.
bool atLeastApart(Wide n1, Wide d1, Wide n2, Wide d2, Wide gap)
{
    const Wide q1 = divide(n1, d1, Rounding::Down);
    const Wide q2 = divide(n2, d2, Rounding::Down);
    const Wide whole = q1 - q2;
    if (whole != gap)
        return whole > gap;
    return (n1 - q1 * d1) * d2 >= (n2 - q2 * d2) * d1;
}

// One fund in one account on the ledger's side: its holdings whose names fold alike.
struct LedgerSide {
    QString fund;
    Integer units = 0;
    Wide costPool = 0; // ExactYen's raw figure
};

QString heldKey(Account account, QStringView fund)
{
    return QString::number(static_cast<int>(account)) + u'\t' + fundNameKey(fund);
}

// A total of units × price (10^-4 yen) over the units: the price per 10,000 units,
// down to 0.0001 yen, so that a figure shown 1 yen off is at least 1 yen off.
Currency pricePer(Wide total, Integer units)
{
    return Currency::fromRaw(static_cast<std::int64_t>(divide(total, units, Rounding::Down)));
}

// A price to 0.01 yen, and to 0.0001 yen where it has more.
QString priceText(Currency price)
{
    const std::int64_t raw = price.raw();
    const std::int64_t magnitude = raw < 0 ? -raw : raw;
    QString fraction = QStringLiteral("%1").arg(magnitude % Currency::kScale, 4, 10, QLatin1Char('0'));
    while (fraction.size() > 2 && fraction.endsWith(u'0'))
        fraction.chop(1);
    return QStringLiteral("%1%2.%3")
        .arg(raw < 0 ? QStringLiteral("-") : QString())
        .arg(magnitude / Currency::kScale)
        .arg(fraction);
}

QString sideText(const std::optional<Integer>& units, const std::optional<Currency>& cost)
{
    if (!units)
        return QStringLiteral("保有なし");
    return QStringLiteral("%1 口 取得単価 %2 円").arg(*units).arg(cost ? priceText(*cost) : QStringLiteral("-"));
}

} // namespace

HoldingsCheck checkHoldings(const BrokerHoldings& broker, const std::vector<HeldFund>& ledger,
                            const QString& ledgerBroker)
{
    QHash<QString, LedgerSide> ledgerSide;
    std::vector<std::pair<Account, QString>> ledgerOrder; // key order as the book lists them
    for (const HeldFund& held : ledger) {
        if (held.account.broker != ledgerBroker || held.holding.units <= 0)
            continue;
        const QString key = heldKey(held.account.kind, held.fund);
        auto at = ledgerSide.find(key);
        if (at == ledgerSide.end()) {
            at = ledgerSide.insert(key, LedgerSide{held.fund});
            ledgerOrder.emplace_back(held.account.kind, key);
        }
        at->units += held.holding.units;
        at->costPool += held.holding.costPool.raw;
    }

    HoldingsCheck check;
    check.broker = broker.broker;
    QHash<QString, bool> compared;
    for (const BrokerHolding& held : broker.holdings) {
        if (held.units <= 0)
            continue;
        const QString key = heldKey(held.account, held.fund);
        compared.insert(key, true);
        HoldingComparison row;
        row.fund = held.fund;
        row.account = held.account;
        row.brokerUnits = held.units;
        row.brokerCost = held.averageCost();
        const auto other = ledgerSide.constFind(key);
        if (other == ledgerSide.constEnd()) {
            row.unitsDiffer = true;
        } else {
            // The pool is in 10^-8 yen for all the units: in 10^-4 yen per 10,000 units it
            // is the same figure over the units.
            const Wide& ledgerTotal = other->costPool;
            row.ledgerUnits = other->units;
            row.ledgerCost = pricePer(ledgerTotal, other->units);
            row.costDifference = Currency::fromRaw(row.ledgerCost->raw() - row.brokerCost->raw());
            row.unitsDiffer = held.units != other->units;
            row.costDiffers = atLeastApart(ledgerTotal, other->units, held.costTimesUnits, held.units, kOneYen)
                              || atLeastApart(held.costTimesUnits, held.units, ledgerTotal, other->units, kOneYen);
        }
        check.rows.push_back(row);
    }
    for (const auto& [account, key] : ledgerOrder) {
        if (compared.contains(key))
            continue;
        const LedgerSide& side = ledgerSide[key];
        HoldingComparison row;
        row.fund = side.fund;
        row.account = account;
        row.ledgerUnits = side.units;
        row.ledgerCost = pricePer(side.costPool, side.units);
        row.unitsDiffer = true;
        check.rows.push_back(row);
    }
    std::stable_sort(check.rows.begin(), check.rows.end(),
                     [](const HoldingComparison& a, const HoldingComparison& b) { return a.account < b.account; });
    check.anyMarked = std::any_of(check.rows.begin(), check.rows.end(),
                                  [](const HoldingComparison& row) { return row.marked(); });
    return check;
}

QStringList HoldingsCheck::lines() const
{
    QStringList lines;
    lines.append(QStringLiteral("%1の保有と台帳の照合（証券会社 / 台帳）").arg(broker));
    int marked = 0;
    for (const HoldingComparison& row : rows) {
        QString line = QStringLiteral("%1%2 %3: %4 / %5")
                           .arg(row.marked() ? QStringLiteral("※ ") : QString())
                           .arg(accountName(row.account), row.fund, sideText(row.brokerUnits, row.brokerCost),
                                sideText(row.ledgerUnits, row.ledgerCost));
        QStringList why;
        if (!row.ledgerUnits)
            why.append(QStringLiteral("台帳にありません"));
        else if (!row.brokerUnits)
            why.append(QStringLiteral("%1の保有にありません").arg(broker));
        else if (row.unitsDiffer)
            why.append(QStringLiteral("口数が違います"));
        if (row.costDiffers)
            why.append(QStringLiteral("取得単価が 1 円以上違います: 台帳 − 証券会社 = %1 円").arg(priceText(*row.costDifference)));
        if (!why.isEmpty())
            line += QStringLiteral("（%1）").arg(why.join(u'、'));
        marked += row.marked() ? 1 : 0;
        lines.append(line);
    }
    if (marked == 0)
        lines.append(QStringLiteral("すべて一致しています（%1 件）").arg(rows.size()));
    else
        lines.append(QStringLiteral("%1 件中 %2 件が違います（※）").arg(rows.size()).arg(marked));
    return lines;
}
