#pragma once

#include "redemption_statement_window.h"

#include "widgets/input_window.h"

// The redemption window: principal NAV, current NAV, units and retention rate in;
// "計算" opens the statement.
class frmWithdraw : public CalculatorWindow<frmWithdrawShow> {
public:
    explicit frmWithdraw(CalcRecord& record);
};
