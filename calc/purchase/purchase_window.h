#pragma once

#include "widgets/fixed_dialog.h"

#include <QList>

struct CalcRecord;
struct InputBox;
class QLabel;
class QLineEdit;
class ToggleOption;

// The purchase window: funds, NAV, fee and tax in; "計算" opens the statement.
// The fee-coverage option remembers its state in the record's FeeCovered, so that
// memory outlives the window while the option itself starts cleared at every opening.
class frmBuy : public FixedDialog {
public:
    explicit frmBuy(CalcRecord& record);

    void Form_Load();
    void cmdCalc_Click();
    void cmdCancel_Click();
    void optChoice_MouseUp();

private:
    [[nodiscard]] QList<InputBox> boxesInReadingOrder() const;

    CalcRecord& record_;
    ToggleOption* optChoice_;
    QLineEdit* txtIM_;
    QLineEdit* txtBL_;
    QLineEdit* txtFP1_;
    QLineEdit* txtFP2_;
    QLabel* Label1_;
    QLabel* Label2_;
    QLabel* Label3_;
    QLabel* Label4_;
};
