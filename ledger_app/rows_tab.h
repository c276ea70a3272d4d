#pragma once

#include <QWidget>

#include <memory>

class QComboBox;
class QTableView;
class Replay;
class RowsFilter;
class RowsModel;

// 取引: the rows with their filters (銘柄, 口座, 年). The context menu, Enter and the
// window's menu ask for the working of the current row, or copy the selected rows.
class RowsTab : public QWidget {
    Q_OBJECT

public:
    explicit RowsTab(QWidget* parent = nullptr);

    void setReplay(const std::shared_ptr<const Replay>& replay);

    [[nodiscard]] RowsModel& model() { return *rows_; }
    [[nodiscard]] QTableView* table() const { return table_; }
    // The replay's row under the cursor, or -1.
    [[nodiscard]] int currentRow() const;
    // The replay's selected rows, in the order shown.
    [[nodiscard]] QList<int> selectedRows() const;

signals:
    void workingRequested();
    void copyRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyFilter();
    void announceCurrent();

    RowsModel* rows_;
    RowsFilter* filter_;
    QComboBox* fund_;
    QComboBox* account_;
    QComboBox* year_;
    QTableView* table_;
};
