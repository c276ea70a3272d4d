#include "book.h"

#include <QHash>

#include <algorithm>

namespace ledger {

namespace {

const Holding kEmpty{};

QString dateText(const QDate& date) { return date.toString(QStringLiteral("yyyy-MM-dd")); }

} // namespace

std::size_t Book::KeyHash::operator()(const Key& key) const noexcept
{
    return qHash(key.fund, qHash(key.account.broker, static_cast<std::size_t>(key.account.kind)));
}

Book::Book(BookOptions options) : options_(options) {}

const Holding& Book::find(const Key& key) const
{
    const auto found = holdings_.find(key);
    return found == holdings_.end() ? kEmpty : found->second;
}

const Holding& Book::holding(const QString& fund, const AccountId& account) const
{
    return find({account, fund});
}

void Book::store(const Key& key, const Holding& holding)
{
    // An emptied holding takes no room.
    if (holding.units == 0)
        holdings_.erase(key);
    else
        holdings_.insert_or_assign(key, holding);
}

std::vector<HeldFund> Book::holdings() const
{
    std::vector<HeldFund> held;
    held.reserve(holdings_.size());
    for (const auto& [key, holding] : holdings_)
        held.push_back({key.fund, key.account, holding});
    std::sort(held.begin(), held.end(), [](const HeldFund& a, const HeldFund& b) {
        return a.account == b.account ? a.fund < b.fund : a.account < b.account;
    });
    return held;
}

AccountYear Book::year(const AccountId& account) const
{
    for (const auto& [id, open] : years_) {
        if (id == account)
            return open;
    }
    return {};
}

ClosedYear Book::settle(const AccountId& account, const AccountYear& year)
{
    ClosedYear closed{account, year, settleYear(year, options_.dividendNetting)};
    if (closed.settlement)
        tally(reports_[{closed.settlement->year, account}], *closed.settlement);
    return closed;
}

void Book::closeBefore(int year, std::vector<ClosedYear>& closed)
{
    const auto ends = [year](const auto& open) { return open.second.year < year; };
    for (const auto& [account, open] : years_) {
        if (open.year < year)
            closed.push_back(settle(account, open));
    }
    years_.erase(std::remove_if(years_.begin(), years_.end(), ends), years_.end());
}

Outcome<Posted, PostRefusal> Book::post(const Event& event, Trace* trace)
{
    // A date before 2009 is refused for its tax rules, whatever the order.
    if (last_.isValid() && event.date < last_ && event.date.year() >= kFirstYear)
        return QStringLiteral("受渡日 %1 が前の行の受渡日 %2 より前です").arg(dateText(event.date), dateText(last_));

    const AccountId account = event.accountId();
    const AccountId specified{Account::Specified, event.broker};
    const Key key{account, event.fund};
    const bool transfer = event.kind == EventKind::Transfer;
    const Key targetKey{specified, event.fund};
    Outcome<Applied, QString> applied = applyEvent(find(key), year(specified), event, options_.roundings, trace,
                                                   transfer ? find(targetKey) : kEmpty);
    if (!applied)
        return applied.why();

    Posted posted;
    if (!years_.empty())
        closeBefore(event.date.year(), posted.closed);
    Applied& a = applied.value();
    if (touchesHolding(event.kind))
        store(key, a.holding);
    if (transfer)
        store(targetKey, a.target);
    if (event.account == Account::Specified) {
        const auto open = std::find_if(years_.begin(), years_.end(), [&](const auto& y) { return y.first == account; });
        if (open == years_.end())
            years_.insert(std::upper_bound(years_.begin(), years_.end(), account,
                                           [](const AccountId& id, const auto& y) { return id < y.first; }),
                          {account, a.year});
        else
            open->second = a.year;
        posted.year = a.year;
    }
    last_ = event.date;
    tally(reports_[{event.date.year(), account}], a.figures);

    posted.figures = a.figures;
    posted.holding = transfer ? a.target : touchesHolding(event.kind) ? a.holding : Holding{};
    return posted;
}

std::vector<ClosedYear> Book::close()
{
    std::vector<ClosedYear> closed;
    for (const auto& [account, open] : years_)
        closed.push_back(settle(account, open));
    years_.clear();
    return closed;
}

} // namespace ledger
