#include "rows_filter.h"

#include "rows_model.h"

RowsFilter::RowsFilter(RowsModel* rows, QObject* parent) : QSortFilterProxyModel(parent), rows_(rows)
{
    setSourceModel(rows);
    setSortRole(RowsModel::kSortRole);
}

void RowsFilter::setFilter(std::optional<std::uint32_t> fund, std::optional<std::uint32_t> account,
                           std::optional<int> year)
{
    fund_ = fund;
    account_ = account;
    year_ = year;
    invalidateFilter();
}

bool RowsFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const
{
    const ReplayRow& row = rows_->replay().row(sourceRow);
    return (!fund_ || row.fund == *fund_) && (!account_ || row.account == *account_)
           && (!year_ || (row.date.isValid() && row.date.year() == *year_));
}

bool RowsFilter::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    const QVariant a = left.data(RowsModel::kSortRole);
    const QVariant b = right.data(RowsModel::kSortRole);
    // A blank figure sorts before every number.
    if (a.isValid() != b.isValid())
        return !a.isValid();
    const QPartialOrdering order = QVariant::compare(a, b);
    if (order == QPartialOrdering::Equivalent || order == QPartialOrdering::Unordered)
        return left.row() < right.row();
    return order == QPartialOrdering::Less;
}
