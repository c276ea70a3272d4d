#pragma once

#include "widgets/input_window.h"

struct CalcRecord;

// The distribution window: principal NAV, NAV after the distribution, the distribution
// and the units in; "計算" opens the statement.
class frmDiv : public InputWindow {
public:
    explicit frmDiv(CalcRecord& record);

    void cmdCalc_Click() override;

private:
    CalcRecord& record_;
};
