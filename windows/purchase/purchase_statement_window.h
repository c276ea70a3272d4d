#pragma once

#include "calc/purchase/purchase_declaration.h"
#include "widgets/statement_window.h"

// The purchase statement: units, their worth, the fee and the total; a rule sets the
// total apart.
class frmBuyShow : public StatementWindow {
public:
    explicit frmBuyShow(const QList<ShownFigure>& figures, const Trace& working = {});
};
