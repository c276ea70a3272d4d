#include "calc/calculators.h"

void showDistributionWindow(CalcRecord&) {}
