#pragma once

#include "distribution_statement_window.h"

#include "widgets/input_window.h"

// The distribution window: principal NAV, NAV after the distribution, the
// distribution and the units in; "計算" opens the statement.
class frmDiv : public CalculatorWindow<frmDivShow> {
public:
    explicit frmDiv(CalcRecord& record);
};
