#pragma once

struct CalcRecord;

// Each shows its calculator's input window modally and returns when it has closed.
void showPurchaseWindow(CalcRecord& record);
void showRedemptionWindow(CalcRecord& record);
void showDistributionWindow(CalcRecord& record);
