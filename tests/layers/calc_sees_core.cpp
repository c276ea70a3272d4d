// A calculation file may see the layers below it.
#include "calc/purchase/purchase_calculation.h"
#include "core/fund_rules.h"

int probe() { return static_cast<int>(kPurchaseBoxes.size()); }
