#pragma once

#include <QWidget>

#include <memory>

class HoldingsModel;
class QTableView;
class Replay;

// 保有: the holdings now; today's NAV and retention are typed into the table itself.
class HoldingsTab : public QWidget {
    Q_OBJECT

public:
    explicit HoldingsTab(QWidget* parent = nullptr);

    void setReplay(const std::shared_ptr<const Replay>& replay);
    [[nodiscard]] HoldingsModel& model() { return *model_; }
    [[nodiscard]] QTableView* table() const { return table_; }

private:
    HoldingsModel* model_;
    QTableView* table_;
};
