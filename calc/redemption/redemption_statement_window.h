#pragma once

#include "redemption_calculation.h"
#include "widgets/fixed_dialog.h"

class QLabel;

// The redemption statement: valuation, tax, trust retention, a rule, and net cash.
// It shows the figures it is given; "OK" is its only focusable control.
class frmWithdrawShow : public FixedDialog {
    Q_OBJECT
public:
    explicit frmWithdrawShow(const RedemptionFigures& figures);

    void cmdOK_Click();

private:
    void Form_Load();

    RedemptionFigures figures_;
    QLabel* lblIM_;
    QLabel* lblTax_;
    QLabel* lblFee_;
    QLabel* lblGain_;
};
