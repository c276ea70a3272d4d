#pragma once

#include "purchase_statement_window.h"

#include "widgets/input_window.h"

class ToggleOption;

// The purchase window: funds, NAV, fee and tax in; "計算" opens the statement.
// The fee-coverage option remembers its state in the record's FeeCovered, so that
// memory outlives the window while the option itself starts cleared at every opening.
class frmBuy : public CalculatorWindow<frmBuyShow> {
public:
    explicit frmBuy(CalcRecord& record);

    void optChoice_MouseUp();

protected:
    // The statement's total follows the option as it stands when "計算" is pressed.
    bool optionSelected() const override;

private:
    ToggleOption* optChoice_;
};
