#pragma once

#include "widgets/input_window.h"

struct CalcRecord;
class ToggleOption;

// The purchase window: funds, NAV, fee and tax in; "計算" opens the statement.
// The fee-coverage option remembers its state in the record's FeeCovered, so that
// memory outlives the window while the option itself starts cleared at every opening.
class frmBuy : public InputWindow {
public:
    explicit frmBuy(CalcRecord& record);

    void cmdCalc_Click() override;
    void optChoice_MouseUp();

private:
    CalcRecord& record_;
    ToggleOption* optChoice_;
};
