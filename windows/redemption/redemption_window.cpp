#include "redemption_window.h"

#include "calc/calculators.h"

frmWithdraw::frmWithdraw(CalcRecord& record) : CalculatorWindow(redemptionCalculator(), record) {}
