#pragma once

#include "calc/distribution/distribution_declaration.h"
#include "widgets/statement_window.h"

// The distribution statement: taxable and non-taxable parts, the tax and, below the
// rule, the net distribution and the principal NAV afterwards.
class frmDivShow : public StatementWindow {
public:
    explicit frmDivShow(const QList<ShownFigure>& figures, const Trace& working = {});
};
