#pragma once

#include "calculator.h"

#include <array>

// The three calculators, each the one object the windows and the command line share.
[[nodiscard]] const Calculator& purchaseCalculator();
[[nodiscard]] const Calculator& redemptionCalculator();
[[nodiscard]] const Calculator& distributionCalculator();

// All three, in the main menu's order.
[[nodiscard]] std::array<const Calculator*, 3> calculators();
