#include "chart_tab.h"

#include "replay.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QPen>
#include <QDateTimeAxis>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>
#include <map>
#include <set>

namespace {

// Midnight of the day in local time, as the date axis shows it.
qreal timeOf(const QDate& date) { return qreal(QDateTime(date, QTime(0, 0)).toMSecsSinceEpoch()); }

qreal yen(std::int64_t value, RowFigure figure)
{
    return isPrice(figure) ? qreal(value) / qreal(Currency::kScale) : qreal(value);
}

} // namespace

ChartTab::ChartTab(QWidget* parent) : QWidget(parent), replay_(std::make_shared<const Replay>())
{
    setObjectName(QStringLiteral("tabChart"));
    holding_ = new QComboBox(this);
    holding_->setObjectName(QStringLiteral("cboHolding"));
    holding_->setAccessibleName(QStringLiteral("グラフにする保有"));
    holding_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto* label = new QLabel(QStringLiteral("保有(&H):"), this);
    label->setBuddy(holding_);
    connect(holding_, &QComboBox::currentIndexChanged, this, &ChartTab::draw);

    view_ = new QChartView(new QChart, this);
    view_->setObjectName(QStringLiteral("chtHolding"));
    view_->setRenderHint(QPainter::Antialiasing);
    view_->setFocusPolicy(Qt::StrongFocus);

    auto* top = new QHBoxLayout;
    top->addWidget(label);
    top->addWidget(holding_);
    top->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(view_, 1);
    draw();
}

QChart* ChartTab::chart() const { return view_->chart(); }

void ChartTab::showChart(QChart* chart)
{
    // The view gives up the chart it showed without deleting it.
    QChart* shown = view_->chart();
    view_->setChart(chart);
    delete shown;
}

void ChartTab::setReplay(const std::shared_ptr<const Replay>& replay)
{
    replay_ = replay;
    // Every fund and account that some row held, in the order first met.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> held;
    std::set<std::pair<std::uint32_t, std::uint32_t>> seen;
    for (qsizetype at = 0; at < replay->rowCount(); ++at) {
        const ReplayRow& row = replay->row(at);
        if (row.state != RowState::Applied || !replay->figure(row, RowFigure::Held))
            continue;
        const std::pair key{row.fund, row.account};
        if (seen.insert(key).second)
            held.push_back(key);
    }
    const QString was = holding_->currentText();
    holdings_ = std::move(held);
    holding_->blockSignals(true);
    holding_->clear();
    for (const auto& [fund, account] : holdings_)
        holding_->addItem(replay->name(fund) + QStringLiteral("（") + replay->name(account) + QStringLiteral("）"));
    const int again = holding_->findText(was);
    holding_->setCurrentIndex(again >= 0 ? again : 0);
    holding_->blockSignals(false);
    draw();
}

void ChartTab::draw()
{
    auto* chart = new QChart;
    chart->setLocalizeNumbers(true);
    chart->legend()->setAlignment(Qt::AlignBottom);
    const int chosen = holding_->currentIndex();
    if (chosen < 0 || std::size_t(chosen) >= holdings_.size()) {
        chart->setTitle(QStringLiteral("ファイルを開くと、保有ごとの推移を示します"));
        showChart(chart);
        view_->setAccessibleName(QStringLiteral("グラフ"));
        return;
    }
    const auto [fund, account] = holdings_[std::size_t(chosen)];
    const QString name = holding_->currentText();
    chart->setTitle(name + QStringLiteral(" の基準価額・個別元本・取得単価"));

    auto* nav = new QLineSeries(chart);
    nav->setName(QStringLiteral("基準価額"));
    auto* principal = new QLineSeries(chart);
    principal->setName(QStringLiteral("個別元本"));
    QPen dashed(QColor(0x2e, 0x8b, 0x57), 2, Qt::DashLine);
    principal->setPen(dashed);
    auto* cost = new QLineSeries(chart);
    cost->setName(QStringLiteral("取得単価"));
    std::map<QString, QScatterSeries*> marks; // one series per kind of event
    QDate first;
    QDate last;
    int events = 0;
    qreal low = std::numeric_limits<qreal>::max();
    qreal high = std::numeric_limits<qreal>::lowest();
    // 個別元本 and 取得単価 hold from one event to the next: drawn as steps.
    const auto step = [](QLineSeries* series, qreal when, qreal value) {
        if (series->count() > 0)
            series->append(when, series->at(series->count() - 1).y());
        series->append(when, value);
    };
    for (qsizetype at = 0; at < replay_->rowCount(); ++at) {
        const ReplayRow& row = replay_->row(at);
        if (row.state != RowState::Applied || row.fund != fund || row.account != account)
            continue;
        const qreal when = timeOf(row.date);
        if (!first.isValid())
            first = row.date;
        last = row.date;
        const std::optional<std::int64_t> navValue = replay_->figure(row, RowFigure::Nav);
        const std::optional<std::int64_t> principalValue = replay_->figure(row, RowFigure::Principal);
        const std::optional<std::int64_t> costValue = replay_->figure(row, RowFigure::Cost);
        if (navValue)
            nav->append(when, yen(*navValue, RowFigure::Nav));
        if (principalValue)
            step(principal, when, yen(*principalValue, RowFigure::Principal));
        if (costValue)
            step(cost, when, yen(*costValue, RowFigure::Cost));
        for (const auto& [value, figure] : {std::pair{navValue, RowFigure::Nav}, std::pair{principalValue, RowFigure::Principal},
                                            std::pair{costValue, RowFigure::Cost}}) {
            if (value) {
                low = std::min(low, yen(*value, figure));
                high = std::max(high, yen(*value, figure));
            }
        }
        // The mark sits on the NAV, or on the principal when the event carries no NAV.
        const std::optional<qreal> height = navValue ? std::optional<qreal>(yen(*navValue, RowFigure::Nav))
                                            : principalValue
                                                ? std::optional<qreal>(yen(*principalValue, RowFigure::Principal))
                                                : std::nullopt;
        if (!height)
            continue;
        QScatterSeries*& mark = marks[replay_->name(row.event)];
        if (!mark) {
            mark = new QScatterSeries(chart);
            mark->setName(replay_->name(row.event));
            mark->setMarkerSize(9);
        }
        mark->append(when, *height);
        ++events;
    }
    for (QAbstractSeries* series : std::initializer_list<QAbstractSeries*>{nav, principal, cost})
        chart->addSeries(series);
    for (const auto& [event, mark] : marks)
        chart->addSeries(mark);

    auto* time = new QDateTimeAxis(chart);
    time->setFormat(QStringLiteral("yyyy-MM-dd"));
    time->setTitleText(QStringLiteral("受渡日"));
    // Whole days around the events; over a few days, one tick at each midnight.
    if (first.isValid()) {
        const qint64 pad = std::max<qint64>(1, first.daysTo(last) / 20);
        const QDate from = first.addDays(-pad);
        const QDate to = last.addDays(pad);
        time->setRange(QDateTime(from, QTime(0, 0)), QDateTime(to, QTime(0, 0)));
        time->setTickCount(int(std::min<qint64>(from.daysTo(to), 6)) + 1);
    }
    auto* price = new QValueAxis(chart);
    price->setTitleText(QStringLiteral("円（1万口当たり）"));
    price->setLabelFormat(QStringLiteral("%.0f"));
    // Room around the figures, so that the marks at the ends are whole.
    if (low <= high) {
        const qreal margin = std::max<qreal>((high - low) * 0.08, 50);
        price->setRange(low - margin, high + margin);
        price->applyNiceNumbers();
    }
    chart->addAxis(time, Qt::AlignBottom);
    chart->addAxis(price, Qt::AlignLeft);
    for (QAbstractSeries* series : chart->series()) {
        series->attachAxis(time);
        series->attachAxis(price);
    }
    showChart(chart);
    view_->setAccessibleName(QStringLiteral("グラフ: ") + name);
    view_->setAccessibleDescription(QStringLiteral("%1 の基準価額 %2 点、個別元本 %3 点、取得単価 %4 点、取引 %5 件")
                                        .arg(name)
                                        .arg(nav->count())
                                        .arg(principal->count())
                                        .arg(cost->count())
                                        .arg(events));
}
