#include "distribution_window.h"

#include "calc/calculators.h"

frmDiv::frmDiv(CalcRecord& record) : CalculatorWindow(distributionCalculator(), record) {}
