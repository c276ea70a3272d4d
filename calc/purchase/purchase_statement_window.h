#pragma once

#include "purchase_figures.h"
#include "widgets/fixed_dialog.h"

class QLabel;

// The purchase statement: units, their worth, the fee and the total, as formed
// before the window opened. "OK" is its only focusable control.
class frmBuyShow : public FixedDialog {
public:
    explicit frmBuyShow(const PurchaseFigures& figures);

    void Form_Load();
    void cmdOK_Click();

private:
    PurchaseFigures figures_;
    QLabel* lblOA_;
    QLabel* lblIM_;
    QLabel* lblFP_;
    QLabel* lblTI_;
};
