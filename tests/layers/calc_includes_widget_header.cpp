// Must not build: the widgets layer stands above the calculations.
#include "calc/purchase/purchase_calculation.h"
#include "widgets/input_window.h"

int probe() { return static_cast<int>(kPurchaseBoxes.size()); }
