#include "rows_tab.h"

#include "rows_filter.h"
#include "rows_model.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QTableView>
#include <QVBoxLayout>

#include <optional>

namespace {

// A filter's box: すべて, then each value with its index (or year) as the item's data.
QComboBox* filterBox(const QString& name, const QString& accessibleName, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setAccessibleName(accessibleName);
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    box->setMinimumContentsLength(8);
    return box;
}

template <class T>
std::optional<T> chosen(const QComboBox* box)
{
    const QVariant data = box->currentData();
    return data.isValid() ? std::optional<T>(data.value<T>()) : std::nullopt;
}

// Fills a filter's box, keeping the chosen item when it is still there.
template <class T, class Text>
void refill(QComboBox* box, const std::vector<T>& values, Text&& text)
{
    const QVariant was = box->currentData();
    const QString wasText = box->currentText();
    box->blockSignals(true);
    box->clear();
    box->addItem(QStringLiteral("すべて"));
    for (const T& value : values) {
        box->addItem(text(value), QVariant::fromValue(value));
        if (was.isValid() && box->itemText(box->count() - 1) == wasText)
            box->setCurrentIndex(box->count() - 1);
    }
    box->blockSignals(false);
}

} // namespace

RowsTab::RowsTab(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("tabRows"));
    rows_ = new RowsModel(this);
    filter_ = new RowsFilter(rows_, this);

    fund_ = filterBox(QStringLiteral("cboFund"), QStringLiteral("銘柄で絞り込み"), this);
    account_ = filterBox(QStringLiteral("cboAccount"), QStringLiteral("口座で絞り込み"), this);
    year_ = filterBox(QStringLiteral("cboYear"), QStringLiteral("年で絞り込み"), this);
    auto* filters = new QHBoxLayout;
    for (const auto& [caption, box] : {std::pair{QStringLiteral("銘柄(&M):"), fund_},
                                       std::pair{QStringLiteral("口座(&A):"), account_},
                                       std::pair{QStringLiteral("年(&Y):"), year_}}) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(box);
        filters->addWidget(label);
        filters->addWidget(box);
        connect(box, &QComboBox::currentIndexChanged, this, &RowsTab::applyFilter);
    }
    filters->addStretch();

    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("tblRows"));
    table_->setAccessibleName(QStringLiteral("取引の一覧"));
    table_->setModel(filter_);
    // The replay is in date order already: no sort until a heading is clicked, so that
    // a large file is not sorted again on the interface thread.
    table_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    table_->setSortingEnabled(true);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setDefaultSectionSize(92);
    table_->setContextMenuPolicy(Qt::CustomContextMenu);
    table_->installEventFilter(this);
    connect(table_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        menu.setObjectName(QStringLiteral("mnuRows"));
        QAction* copy = menu.addAction(QStringLiteral("コピー(&C)"), this, &RowsTab::copyRequested);
        QAction* working = menu.addAction(QStringLiteral("計算過程(&W)"), this, &RowsTab::workingRequested);
        copy->setEnabled(!selectedRows().isEmpty());
        working->setEnabled(currentRow() >= 0);
        menu.exec(table_->viewport()->mapToGlobal(at));
    });
    connect(table_->selectionModel(), &QItemSelectionModel::currentChanged, this, &RowsTab::announceCurrent);
    connect(table_, &QAbstractItemView::doubleClicked, this, &RowsTab::workingRequested);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(table_);
}

void RowsTab::setReplay(const std::shared_ptr<const Replay>& replay)
{
    rows_->setReplay(replay);
    refill(fund_, replay->funds(), [&](std::uint32_t name) { return replay->name(name); });
    refill(account_, replay->accounts(), [&](std::uint32_t name) { return replay->name(name); });
    refill(year_, replay->years(), [](int year) { return QString::number(year); });
    applyFilter();
    table_->resizeColumnsToContents();
}

void RowsTab::applyFilter()
{
    filter_->setFilter(chosen<std::uint32_t>(fund_), chosen<std::uint32_t>(account_), chosen<int>(year_));
}

int RowsTab::currentRow() const
{
    const QModelIndex current = table_->currentIndex();
    return current.isValid() ? filter_->mapToSource(current).row() : -1;
}

QList<int> RowsTab::selectedRows() const
{
    QList<int> rows;
    const QModelIndexList chosenRows = table_->selectionModel()->selectedRows();
    for (const QModelIndex& index : chosenRows)
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    for (int& row : rows)
        row = filter_->mapToSource(filter_->index(row, 0)).row();
    return rows;
}

bool RowsTab::eventFilter(QObject* watched, QEvent* event)
{
    // The Menu key and Shift+F10 open the context menu at the current row; Enter shows
    // its working, Ctrl+C copies the selected rows (the view alone would copy one cell).
    if (watched == table_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy)) {
            emit copyRequested();
            return true;
        }
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && key->modifiers() == Qt::NoModifier) {
            emit workingRequested();
            return true;
        }
        if (key->key() == Qt::Key_Menu || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier)) {
            const QRect cell = table_->visualRect(table_->currentIndex());
            emit table_->customContextMenuRequested(cell.isValid() ? cell.center() : QPoint(0, 0));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void RowsTab::announceCurrent()
{
    const int row = currentRow();
    table_->setAccessibleDescription(row >= 0 ? rows_->summary(row) : QString());
}
