#include "calculators.h"

#include "distribution/distribution_window.h"
#include "purchase/purchase_window.h"
#include "redemption/redemption_window.h"

namespace {

template <class Window>
void showModal(CalcRecord& record)
{
    Window window(record);
    window.exec();
}

} // namespace

void showPurchaseWindow(CalcRecord& record) { showModal<frmBuy>(record); }
void showRedemptionWindow(CalcRecord& record) { showModal<frmWithdraw>(record); }
void showDistributionWindow(CalcRecord& record) { showModal<frmDiv>(record); }
