#pragma once

#include <QWidget>

#include <memory>

class QTableWidget;
class Replay;

// 年間報告: one line per account and year, in the columns of the 特定口座年間取引報告書.
class ReportTab : public QWidget {
    Q_OBJECT

public:
    explicit ReportTab(QWidget* parent = nullptr);

    void setReplay(const std::shared_ptr<const Replay>& replay);
    [[nodiscard]] QTableWidget* table() const { return table_; }

private:
    QTableWidget* table_;
};
