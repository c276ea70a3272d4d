#include "purchase_window.h"

#include "windows/calculators.h"
#include "calc/purchase/purchase_calculation.h"
#include "purchase_statement_window.h"
#include "toggle_option.h"
#include "widgets/twips.h"

#include <QLineEdit>
#include <QLocale>

frmBuy::frmBuy(CalcRecord& record) : InputWindow(kPurchaseWindow), record_(record)
{
    optChoice_ = new ToggleOption(kFeeCoveredCaption.toString(), this);
    optChoice_->setObjectName(QStringLiteral("optChoice"));
    optChoice_->setGeometry(twipsRect(240, 240, 2895, 375));
    optChoice_->setToolTip(kFeeCoveredTooltip.toString());
    // The option comes first in the tab order and has the focus at opening.
    setTabOrder(optChoice_, box(kPurchaseIM));
    optChoice_->setFocus(Qt::OtherFocusReason);
    connect(optChoice_, &ToggleOption::mouseUp, this, &frmBuy::optChoice_MouseUp);
}

void frmBuy::cmdCalc_Click()
{
    // The statement's total follows the option as it stands now, not as it may
    // stand later.
    const bool feePaidFromFunds = optChoice_->isChecked();
    Trace working;
    const Formed<PurchaseFigures> formed = calculatePurchase(
        record_, texts(), feePaidFromFunds, NumberFormat::fromLocale(QLocale::system()), &working);
    if (reportFault(formed.outcome, record_))
        return;
    frmBuyShow statement(formed.figures, working);
    statement.exec();
}

void frmBuy::optChoice_MouseUp()
{
    const FeeCoverage next = toggleFeeCoverage({optChoice_->isChecked(), record_.FeeCovered});
    optChoice_->setSelected(next.selected);
    record_.FeeCovered = next.memory;
}

void showPurchaseWindow(CalcRecord& record)
{
    frmBuy window(record);
    window.exec();
}
