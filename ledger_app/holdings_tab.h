#pragma once

#include <QWidget>

#include <memory>

class HoldingsModel;
class QPlainTextEdit;
class QTableView;
class Replay;

// 保有: the holdings now; today's NAV and retention are typed into the table itself. Below
// it, when the broker's holdings download is open, the broker's units and 取得単価 beside
// the book's.
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
    QPlainTextEdit* check_;
};
