#include "broker_merge.h"

#include <algorithm>
#include <iterator>

namespace broker {
namespace {

// Within a day: what is paid out first, then what it bought, then the rest.
int dayRank(const BrokerRow& row)
{
    if (row.kind != BrokerRow::Kind::Event)
        return 2;
    switch (row.event.kind) {
    case ledger::EventKind::Distribution:
    case ledger::EventKind::Dividend:
        return 0;
    case ledger::EventKind::Reinvestment:
        return 1;
    default:
        return 2;
    }
}

} // namespace

std::vector<BrokerRow> mergedHistory(std::vector<std::vector<BrokerRow>> files)
{
    std::vector<BrokerRow> history;
    for (std::vector<BrokerRow>& rows : files) {
        std::copy_if(std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()),
                     std::back_inserter(history),
                     [](const BrokerRow& row) { return row.kind != BrokerRow::Kind::PassedOver; });
    }
    std::stable_sort(history.begin(), history.end(), [](const BrokerRow& a, const BrokerRow& b) {
        const bool aDated = a.event.date.isValid();
        const bool bDated = b.event.date.isValid();
        if (aDated != bDated)
            return aDated;
        if (aDated && a.event.date != b.event.date)
            return a.event.date < b.event.date;
        return dayRank(a) < dayRank(b);
    });
    return history;
}

} // namespace broker
