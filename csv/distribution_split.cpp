#include "distribution_split.h"

using namespace ledger;

namespace {

// Both taxes the ledger withholds on `event` with `returned` of it as 元本払戻金, on a
// holding of `units`; none when the ledger refuses the event.
std::optional<Integer> taxWith(Event event, Integer units, Integer returned, const Roundings& roundings)
{
    event.returned = returned;
    Holding holding;
    holding.units = units;
    const auto applied = applyEvent(holding, AccountYear{}, event, roundings);
    if (!applied || !applied->figures.incomeTax || !applied->figures.residentTax)
        return std::nullopt;
    return *applied->figures.incomeTax + *applied->figures.residentTax;
}

} // namespace

std::optional<Integer> returnedFromTax(Integer units, Integer distribution, Integer tax, Account account,
                                       QDate date, Rounding distributionRounding)
{
    // Nothing is withheld in a NISA whatever the split, so its tax tells nothing.
    if (account == Account::Nisa || account == Account::OldNisa)
        return std::nullopt;
    if (units <= 0 || distribution < 0 || tax < 0 || !date.isValid())
        return std::nullopt;

    Event event;
    event.date = date;
    event.account = account;
    event.kind = EventKind::Distribution;
    event.distribution = distribution;
    Roundings roundings;
    roundings.distribution = distributionRounding;

    // The tax falls as 元本払戻金 rises (the 普通分配金 is what is taxed), so the splits
    // that give `tax` are one run of neighbours: find its first, then see it has no second.
    // An untaxed 特定 row is thus all 元本払戻金 only when 1 yen per 10,000 units less of it
    // would have been taxed.
    Integer low = 0;
    Integer high = distribution;
    auto atHigh = taxWith(event, units, high, roundings);
    if (!atHigh || *atHigh > tax)
        return std::nullopt;
    while (low < high) {
        const Integer middle = low + (high - low) / 2;
        const auto atMiddle = taxWith(event, units, middle, roundings);
        if (!atMiddle)
            return std::nullopt;
        if (*atMiddle <= tax) {
            high = middle;
            atHigh = atMiddle;
        } else {
            low = middle + 1;
        }
    }
    if (*atHigh != tax)
        return std::nullopt;
    if (low < distribution && taxWith(event, units, low + 1, roundings) == tax)
        return std::nullopt;
    return low;
}
