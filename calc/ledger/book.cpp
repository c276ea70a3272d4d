#include "book.h"

#include <algorithm>
#include <functional>
#include <string_view>

namespace ledger {

namespace {

const Holding kEmpty{};

QString dateText(const QDate& date) { return date.toString(QStringLiteral("yyyy-MM-dd")); }

} // namespace

std::size_t Book::KeyHash::operator()(const Key& key) const noexcept
{
    const auto text = [](const QString& s) { return std::u16string_view(reinterpret_cast<const char16_t*>(s.constData()), static_cast<std::size_t>(s.size())); };
    std::size_t hash = std::hash<std::u16string_view>()(text(key.fund)) ^ static_cast<std::size_t>(key.account.kind);
    if (!key.account.broker.isEmpty())
        hash ^= std::hash<std::u16string_view>()(text(key.account.broker)) * 31;
    return hash;
}

Book::Book(BookOptions options) : options_(options) {}

const Holding& Book::held(Holdings::const_iterator at) const
{
    return at == holdings_.end() ? kEmpty : at->second;
}

const Holding& Book::find(const Key& key) const
{
    return held(holdings_.find(key));
}

const Holding& Book::holding(const QString& fund, const AccountId& account) const
{
    return find({account, fund});
}

bool Book::store(Holdings::iterator at, const Key& key, const Holding& holding)
{
    // An emptied holding takes no room.
    if (at == holdings_.end()) {
        if (holding.units == 0)
            return false;
        holdings_.emplace(key, holding);
        return true;
    }
    if (holding.units == 0) {
        holdings_.erase(at);
    } else {
        at->second = holding;
    }
    return false;
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
    const Key targetKey = transfer ? Key{specified, event.fund} : Key{};
    const bool holds = touchesHolding(event.kind);
    const Holdings::iterator at = holds ? holdings_.find(key) : holdings_.end();
    const Holdings::iterator targetAt = transfer ? holdings_.find(targetKey) : holdings_.end();
    Outcome<Applied, QString> applied =
        applyEvent(held(at), year(specified), event, options_.roundings, trace, held(targetAt));
    if (!applied)
        return applied.why();

    Posted posted;
    const int eventYear = event.date.year();
    if (std::any_of(years_.begin(), years_.end(), [&](const auto& open) { return open.second.year < eventYear; }))
        closeBefore(eventYear, posted.closed);
    Applied& a = applied.value();
    // An insertion may rehash, leaving the other iterator behind; erasing does not.
    const bool inserted = holds && store(at, key, a.holding);
    if (transfer)
        store(inserted ? holdings_.find(targetKey) : targetAt, targetKey, a.target);
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
    tally(reports_[{eventYear, account}], a.figures);

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
