#include "broker_merge.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <tuple>

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
    std::size_t total = 0;
    for (const std::vector<BrokerRow>& rows : files)
        total += rows.size();
    std::vector<BrokerRow> rows = files.empty() ? std::vector<BrokerRow>() : std::move(files.front());
    rows.reserve(total);
    for (std::size_t f = 1; f < files.size(); ++f)
        std::move(files[f].begin(), files[f].end(), std::back_inserter(rows));
    files.clear();
    std::erase_if(rows, [](const BrokerRow& row) { return row.kind == BrokerRow::Kind::PassedOver; });

    // Rows are large: the order is found on small keys, the position breaking ties, and a
    // history already in order (one file, oldest first) is kept where it is.
    struct Key {
        qint64 day; // undated last
        int rank;
        std::size_t at;
        bool operator<(const Key& other) const
        {
            return std::tie(day, rank, at) < std::tie(other.day, other.rank, other.at);
        }
    };
    const auto keyAt = [&rows](std::size_t i) {
        const QDate date = rows[i].event.date;
        return Key{date.isValid() ? date.toJulianDay() : std::numeric_limits<qint64>::max(), dayRank(rows[i]), i};
    };
    bool sorted = true;
    for (std::size_t i = 1; i < rows.size() && sorted; ++i)
        sorted = keyAt(i - 1) < keyAt(i);
    if (sorted)
        return rows;
    std::vector<Key> keys;
    keys.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        keys.push_back(keyAt(i));
    std::sort(keys.begin(), keys.end());
    // Each row moved once, to its place, cycle by cycle: no second history.
    for (std::size_t start = 0; start < rows.size(); ++start) {
        if (keys[start].at == start)
            continue; // in place, or placed already
        BrokerRow held = std::move(rows[start]);
        std::size_t to = start;
        for (;;) {
            const std::size_t from = keys[to].at;
            keys[to].at = to;
            if (from == start) {
                rows[to] = std::move(held);
                break;
            }
            rows[to] = std::move(rows[from]);
            to = from;
        }
    }
    return rows;
}

} // namespace broker
