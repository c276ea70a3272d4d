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
    // Dates and figures straight from the replay: a sort of many rows asks often.
    const Replay& replay = rows_->replay();
    const ReplayRow& leftRow = replay.row(left.row());
    const ReplayRow& rightRow = replay.row(right.row());
    const int column = left.column();
    if (column == RowsModel::kDate) {
        if (leftRow.date != rightRow.date)
            return leftRow.date < rightRow.date; // a row without a date (invalid) first
        return left.row() < right.row();
    }
    if (column >= RowsModel::kFirstFigure && column < RowsModel::kMessage) {
        const auto figure = RowFigure(column - RowsModel::kFirstFigure);
        const std::optional<std::int64_t> a = replay.figure(leftRow, figure);
        const std::optional<std::int64_t> b = replay.figure(rightRow, figure);
        if (a != b)
            return a < b; // a blank figure before every number
        return left.row() < right.row();
    }
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
