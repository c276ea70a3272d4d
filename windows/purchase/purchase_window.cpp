#include "purchase_window.h"

#include "toggle_option.h"

#include "calc/calculators.h"
#include "calc/purchase/purchase_calculation.h"
#include "widgets/twips.h"

#include <QLineEdit>

frmBuy::frmBuy(CalcRecord& record) : CalculatorWindow(purchaseCalculator(), record)
{
    optChoice_ = new ToggleOption(kFeeCoverageOption.caption.toString(), this);
    optChoice_->setObjectName(kFeeCoverageOption.name.toString());
    optChoice_->setGeometry(twipsRect(kFeeCoverageOption.at));
    optChoice_->setToolTip(kFeeCoverageOption.tooltip.toString());
    // The option comes first in the tab order and has the focus at opening.
    setTabOrder(optChoice_, box(kPurchaseIM));
    optChoice_->setFocus(Qt::OtherFocusReason);
    connect(optChoice_, &ToggleOption::mouseUp, this, &frmBuy::optChoice_MouseUp);
}

bool frmBuy::optionSelected() const { return optChoice_->isChecked(); }

void frmBuy::optChoice_MouseUp()
{
    const FeeCoverage next = toggleFeeCoverage({optChoice_->isChecked(), record_.FeeCovered});
    optChoice_->setSelected(next.selected);
    record_.FeeCovered = next.memory;
}
