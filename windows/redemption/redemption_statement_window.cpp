#include "redemption_statement_window.h"

#include "widgets/form_controls.h"

frmWithdrawShow::frmWithdrawShow(const QList<ShownFigure>& figures, const Trace& working)
    : StatementWindow(kRedemptionStatement, figures, working)
{
    addRule(this, QStringLiteral("Line1"), 0, 2400, 1200);
}
