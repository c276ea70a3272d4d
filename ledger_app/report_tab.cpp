#include "report_tab.h"

#include "figure_text.h"
#include "replay.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

ReportTab::ReportTab(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("tabReport"));
    table_ = new QTableWidget(this);
    table_->setObjectName(QStringLiteral("tblReport"));
    table_->setAccessibleName(QStringLiteral("年間報告"));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setDefaultAlignment(Qt::Alignment(Qt::AlignCenter) | Qt::Alignment(Qt::TextWordWrap));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    setReplay(std::make_shared<const Replay>());
}

void ReportTab::setReplay(const std::shared_ptr<const Replay>& replay)
{
    const QStringList captions = reportCaptions();
    table_->clear();
    table_->setColumnCount(int(captions.size()));
    table_->setHorizontalHeaderLabels(captions);
    const std::vector<ReportRow>& rows = replay->report();
    table_->setRowCount(int(rows.size()));
    for (int at = 0; at < int(rows.size()); ++at) {
        const ReportRow& row = rows[std::size_t(at)];
        table_->setItem(at, 0, new QTableWidgetItem(QString::number(row.year)));
        table_->setItem(at, 1, new QTableWidgetItem(row.account));
        for (int column = 0; column < int(row.sums.size()); ++column) {
            const std::optional<std::int64_t>& sum = row.sums[std::size_t(column)];
            auto* item = new QTableWidgetItem(sum ? groupedWhole(*sum) : QString());
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(at, column + 2, item);
        }
    }
    // Long captions wrap in a header tall enough for two lines.
    table_->horizontalHeader()->setMinimumHeight(table_->fontMetrics().height() * 3);
    table_->resizeColumnsToContents();
    for (int column = 2; column < table_->columnCount(); ++column)
        table_->setColumnWidth(column, std::min(table_->columnWidth(column), 150));
}
