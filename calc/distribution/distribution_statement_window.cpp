#include "distribution_statement_window.h"

#include "widgets/form_controls.h"

frmDivShow::frmDivShow(const DistributionFigures& figures)
    : StatementWindow(kDistributionStatement, figures)
{
    addRule(this, QStringLiteral("Line1"), 240, 3120, 1200);
}
