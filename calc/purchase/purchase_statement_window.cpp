#include "purchase_statement_window.h"

#include "widgets/form_controls.h"

frmBuyShow::frmBuyShow(const PurchaseFigures& figures)
    : StatementWindow(kPurchaseStatement, figures)
{
    addRule(this, QStringLiteral("Line1"), 240, 2760, 1200);
}
