#pragma once

#include "widgets/fixed_dialog.h"

#include <QList>

struct CalcRecord;
struct InputBox;
class QLabel;
class QLineEdit;

// The distribution calculator's input window: principal NAV, NAV after the
// distribution, the distribution and the units held. "計算" shows the statement or
// says why it cannot; whatever was typed stays in the boxes.
class frmDiv : public FixedDialog {
public:
    explicit frmDiv(CalcRecord& record);

    void cmdCalc_Click();
    void cmdCancel_Click();

private:
    void Form_Load();
    [[nodiscard]] QList<InputBox> boxesInReadingOrder() const;

    CalcRecord& record_;
    QLabel* Label1_;
    QLabel* Label2_;
    QLabel* Label3_;
    QLabel* Label4_;
    QLineEdit* txtCBL_;
    QLineEdit* txtNBL_;
    QLineEdit* txtDiv_;
    QLineEdit* txtOA_;
};
