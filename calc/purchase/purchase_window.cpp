#include "calc/calculators.h"

void showPurchaseWindow(CalcRecord&) {}
