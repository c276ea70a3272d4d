#pragma once

#include "widgets/fixed_dialog.h"

#include <QList>

struct CalcRecord;
struct InputBox;
class QLabel;
class QLineEdit;

// "今解約するといくらになる？": principal NAV, current NAV, units held and the trust
// retention rate in; valuation, retention, tax and net cash out through the statement.
class frmWithdraw : public FixedDialog {
    Q_OBJECT
public:
    explicit frmWithdraw(CalcRecord& record);

    void cmdCalc_Click();
    void cmdCancel_Click();

private:
    void Form_Load();
    [[nodiscard]] QList<InputBox> boxesInReadingOrder() const;

    CalcRecord& record_;
    QLineEdit* txtCBL_;
    QLineEdit* txtNBL_;
    QLineEdit* txtOA_;
    QLineEdit* txtFee_;
    QLabel* Label1_;
    QLabel* Label2_;
    QLabel* Label3_;
    QLabel* Label4_;
};
