#include "distribution_statement_window.h"

#include "widgets/form_controls.h"

frmDivShow::frmDivShow(const QList<ShownFigure>& figures, const Trace& working)
    : StatementWindow(kDistributionStatement, figures, working)
{
    addRule(this, QStringLiteral("Line1"), 240, 3120, 1200);
}
