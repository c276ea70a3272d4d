#include "purchase_statement_window.h"

#include "widgets/form_controls.h"

frmBuyShow::frmBuyShow(const QList<ShownFigure>& figures, const Trace& working)
    : StatementWindow(kPurchaseStatement, figures, working)
{
    addRule(this, QStringLiteral("Line1"), 240, 2760, 1200);
}
