#include "book.h"

#include "core/tax_law.h"

#include <algorithm>
#include <functional>
#include <string_view>

namespace ledger {

namespace {

const Holding kEmpty{};

} // namespace

std::size_t Book::KeyHash::operator()(const KeyView& key) const noexcept
{
    const auto hash = [](QStringView s) {
        return std::hash<std::u16string_view>()(std::u16string_view(s.utf16(), static_cast<std::size_t>(s.size())));
    };
    std::size_t value = hash(key.fund) ^ static_cast<std::size_t>(key.kind);
    if (!key.broker.isEmpty())
        value ^= hash(key.broker) * 31;
    return value;
}

Book::Book(BookOptions options) : options_(options) {}

const Holding& Book::held(Holdings::const_iterator at) const
{
    return at == holdings_.end() ? kEmpty : at->second;
}

const Holding& Book::holding(const QString& fund, const AccountId& account) const
{
    return held(holdings_.find(KeyView{account.kind, account.broker, fund}));
}

bool Book::store(Holdings::iterator at, const KeyView& key, const Holding& holding)
{
    // An emptied holding takes no room.
    if (at == holdings_.end()) {
        if (holding.units == 0)
            return false;
        holdings_.emplace(Key{{key.kind, key.broker.toString()}, key.fund.toString()}, holding);
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
    // A year the history does not reach the end of is settled as it would be.
    const bool provisional = options_.asOf.isValid() && options_.asOf < QDate(year.year, 12, 31);
    ClosedYear closed{account, year, settleYear(year, options_.dividendNetting), provisional};
    settleReport(reports_[{year.year, account}], year, netsDividends(year.year, options_.dividendNetting),
                 closed.settlement);
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
    if (last_.isValid() && event.date < last_ && taxLawOf(event.date.year()))
        return Refusal{.kind = RefusalKind::BeforeLast, .date = event.date, .last = last_};
    if (options_.asOf.isValid() && event.date > options_.asOf)
        return Refusal{.kind = RefusalKind::AfterAsOf, .date = event.date, .last = options_.asOf};
    if (event.specifiedOrGeneral)
        return postResolved(event, trace);

    const AccountId account = event.accountId();
    const AccountId specified{Account::Specified, event.broker};
    const KeyView key{event.account, event.broker, event.fund};
    const bool transfer = event.kind == EventKind::Transfer;
    const KeyView targetKey{Account::Specified, event.broker, event.fund};
    const bool holds = touchesHolding(event.kind);
    const Holdings::iterator at = holds ? holdings_.find(key) : holdings_.end();
    const Holdings::iterator targetAt = transfer ? holdings_.find(targetKey) : holdings_.end();
    Outcome<Applied, Refusal> applied =
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
    tally(reports_[{eventYear, account}], event.account, event.kind, a.figures);

    posted.account = account;
    posted.figures = a.figures;
    posted.holding = transfer ? a.target : touchesHolding(event.kind) ? a.holding : Holding{};
    return posted;
}

Outcome<Posted, PostRefusal> Book::postResolved(const Event& event, Trace* trace)
{
    Event resolved = event;
    resolved.specifiedOrGeneral = false;
    resolved.account = Account::Specified;
    // Another security's 譲渡損益 or 配当 has no holding to tell by: the 特定口座 takes it.
    if (touchesHolding(event.kind)) {
        const bool specified = holdings_.contains(KeyView{Account::Specified, event.broker, event.fund});
        const bool general = holdings_.contains(KeyView{Account::General, event.broker, event.fund});
        if (specified && general)
            return Refusal{.kind = RefusalKind::HeldInBoth};
        if (!specified && !general)
            return Refusal{.kind = RefusalKind::HeldInNeither};
        if (general)
            resolved.account = Account::General;
    }
    return post(resolved, trace);
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
