#pragma once

#include "replay.h"

#include <QAbstractTableModel>

#include <memory>

// The 取引 table: one line per row of the replay, its figures formed when asked for.
// Columns: 受渡日, 銘柄, 口座, 取引, the row's figures (RowFigure's order), the message
// and where the row came from. A refused row carries a warning mark and its message.
class RowsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { kDate, kFund, kAccount, kEvent, kFirstFigure, kMessage = kFirstFigure + kRowFigureCount, kSource,
                  kColumnCount };
    // The value a column sorts by (a date as its Julian day, a figure as its number).
    static constexpr int kSortRole = Qt::UserRole + 1;

    explicit RowsModel(QObject* parent = nullptr);

    void setReplay(std::shared_ptr<const Replay> replay);
    [[nodiscard]] const Replay& replay() const { return *replay_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // A column's text for a row: as shown (figures with thousands separators), or plain
    // as the command line writes figures.
    [[nodiscard]] QString text(int row, int column, bool grouped = true) const;
    // The row read out in one line: date, fund, event and the figures that matter.
    [[nodiscard]] QString summary(int row) const;
    // The rows as tab-separated text with the header line, in the order given, the
    // figures plain so that a spreadsheet reads them as numbers.
    [[nodiscard]] QString tabSeparated(const QList<int>& rows) const;

private:
    std::shared_ptr<const Replay> replay_;
};
