#pragma once

#include <QSortFilterProxyModel>

#include <cstdint>
#include <optional>

class RowsModel;

// The rows of one fund, account and year (each none: all), sorted by a column; rows
// that sort alike keep the replay's order.
class RowsFilter : public QSortFilterProxyModel {
public:
    explicit RowsFilter(RowsModel* rows, QObject* parent = nullptr);

    // Each an index into the replay's names, or a year; none shows all.
    void setFilter(std::optional<std::uint32_t> fund, std::optional<std::uint32_t> account, std::optional<int> year);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    RowsModel* rows_;
    std::optional<std::uint32_t> fund_;
    std::optional<std::uint32_t> account_;
    std::optional<int> year_;
};
