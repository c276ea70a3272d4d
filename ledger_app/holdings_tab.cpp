#include "holdings_tab.h"

#include "holdings_model.h"
#include "replay.h"

#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableView>
#include <QVBoxLayout>

HoldingsTab::HoldingsTab(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("tabHoldings"));
    model_ = new HoldingsModel(this);
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("tblHoldings"));
    table_->setAccessibleName(QStringLiteral("保有の一覧"));
    table_->setModel(model_);
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::AllEditTriggers);
    auto* note = new QLabel(QStringLiteral("今日の基準価額と信託財産留保額(%)を入力すると、今日全部を解約した場合の"
                                           "解約代金・税金・受渡金額を示します（記帳は変わりません）。"),
                            this);
    note->setWordWrap(true);
    note->setBuddy(table_);
    check_ = new QPlainTextEdit(this);
    check_->setObjectName(QStringLiteral("txtHoldingsCheck"));
    check_->setAccessibleName(QStringLiteral("証券会社の保有との照合"));
    check_->setReadOnly(true);
    check_->setMaximumHeight(140);
    check_->hide();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addWidget(table_, 1);
    layout->addWidget(check_);
    // A what-if's figures are as wide as they come out.
    connect(model_, &QAbstractItemModel::dataChanged, table_, &QTableView::resizeColumnsToContents);
}

void HoldingsTab::setReplay(const std::shared_ptr<const Replay>& replay)
{
    model_->setReplay(replay);
    table_->resizeColumnsToContents();
    check_->setPlainText(replay->holdingsCheck().join(u'\n'));
    check_->setVisible(!replay->holdingsCheck().isEmpty());
}
