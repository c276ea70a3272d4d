#pragma once

#include <QWidget>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

class QChart;
class QChartView;
class QComboBox;
class Replay;

// グラフ: for the chosen holding, the NAVs its events carry, its 個別元本 and 取得単価
// after each event, over time, with each kind of event marked on the NAV.
class ChartTab : public QWidget {
    Q_OBJECT

public:
    explicit ChartTab(QWidget* parent = nullptr);

    void setReplay(const std::shared_ptr<const Replay>& replay);
    // The chart shown (tests read its series).
    [[nodiscard]] QChart* chart() const;

private:
    void draw();
    void showChart(QChart* chart);

    std::shared_ptr<const Replay> replay_;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> holdings_; // fund and account names
    QComboBox* holding_;
    QChartView* view_;
};
