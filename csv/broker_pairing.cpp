#include "broker_pairing.h"

#include <QHash>

#include <tuple>

namespace broker {
namespace {

using ledger::Account;
using ledger::EventKind;

constexpr qint64 kPairingDays = 10;

// What a pair must share. 特定 and 一般 share a key, so that a 特定/一般 row meets either.
struct PairKey {
    QString broker;
    QString fund;
    bool nisa = false;
    bool oldNisa = false;
    Integer amount = 0;

    friend bool operator==(const PairKey& a, const PairKey& b)
    {
        return std::tie(a.broker, a.fund, a.nisa, a.oldNisa, a.amount)
               == std::tie(b.broker, b.fund, b.nisa, b.oldNisa, b.amount);
    }
};

size_t qHash(const PairKey& key, size_t seed = 0)
{
    return qHashMulti(seed, key.broker, key.fund, key.nisa, key.oldNisa, key.amount);
}

PairKey keyOf(const BrokerRow& row, Integer amount)
{
    return {row.event.broker, row.event.fund, row.event.account == Account::Nisa,
            row.event.account == Account::OldNisa, amount};
}

bool accountsMeet(const ledger::Event& a, const ledger::Event& b)
{
    return a.account == b.account || a.specifiedOrGeneral || b.specifiedOrGeneral;
}

// What a distribution row paid after tax: as stated, or its gross less its tax.
std::optional<Integer> paidAfterTax(const Stated& stated)
{
    if (stated.net)
        return stated.net;
    if (stated.gross && stated.tax)
        return *stated.gross - *stated.tax;
    return std::nullopt;
}

bool isEvent(const BrokerRow& row, EventKind kind)
{
    return row.kind == BrokerRow::Kind::Event && row.event.kind == kind;
}

} // namespace

std::vector<BrokerRow> pairedReinvestments(std::vector<BrokerRow> history)
{
    QHash<PairKey, QList<std::size_t>> distributions;
    for (std::size_t i = 0; i < history.size(); ++i) {
        if (!isEvent(history[i], EventKind::Distribution))
            continue;
        if (const std::optional<Integer> paid = paidAfterTax(history[i].stated))
            distributions[keyOf(history[i], *paid)].append(i);
    }
    std::vector<bool> taken(history.size(), false);
    for (BrokerRow& row : history) {
        if (!isEvent(row, EventKind::Reinvestment) || row.event.distribution || !row.stated.settlement)
            continue;
        const auto candidates = distributions.constFind(keyOf(row, *row.stated.settlement));
        if (candidates == distributions.cend())
            continue;
        // The nearest in time, the earlier of two as near.
        std::optional<std::size_t> best;
        qint64 bestDays = kPairingDays + 1;
        for (const std::size_t i : *candidates) {
            const qint64 days = std::abs(history[i].event.date.daysTo(row.event.date));
            if (!taken[i] && days < bestDays && accountsMeet(history[i].event, row.event)) {
                best = i;
                bestDays = days;
            }
        }
        if (!best)
            continue;
        taken[*best] = true;
        const BrokerRow& paid = history[*best];
        row.event.distribution = paid.event.distribution;
        row.stated.gross = paid.stated.gross;
        row.stated.tax = paid.stated.tax;
        row.stated.net = paid.stated.net;
        row.stated.heldUnits = paid.event.units;
    }
    // In place: the rows are large, and most histories have no pair at all.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < history.size(); ++i) {
        if (taken[i])
            continue;
        if (kept != i)
            history[kept] = std::move(history[i]);
        ++kept;
    }
    history.erase(history.begin() + static_cast<std::ptrdiff_t>(kept), history.end());
    return history;
}

} // namespace broker
