#pragma once

#include "distribution_calculation.h"

#include "widgets/fixed_dialog.h"

class QLabel;

// The distribution statement: taxable and non-taxable parts, tax, net amount and the
// principal NAV after the distribution. Read-only; "OK" closes it.
class frmDivShow : public FixedDialog {
public:
    explicit frmDivShow(const DistributionFigures& figures);

    void cmdOK_Click();

private:
    void Form_Load();

    DistributionFigures figures_;
    QLabel* lblDiv1_;
    QLabel* lblDiv2_;
    QLabel* lblTax_;
    QLabel* lblDiv3_;
    QLabel* lblCBL_;
};
