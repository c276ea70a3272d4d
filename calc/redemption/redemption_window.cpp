#include "calc/calculators.h"

void showRedemptionWindow(CalcRecord&) {}
