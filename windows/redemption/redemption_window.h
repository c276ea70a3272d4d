#pragma once

#include "widgets/input_window.h"

struct CalcRecord;

// The redemption window: principal NAV, current NAV, units and retention rate in;
// "計算" opens the statement.
class frmWithdraw : public InputWindow {
public:
    explicit frmWithdraw(CalcRecord& record);

    void cmdCalc_Click() override;

private:
    CalcRecord& record_;
};
