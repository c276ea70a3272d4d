#pragma once

#include "calc/redemption/redemption_declaration.h"
#include "widgets/statement_window.h"

// The redemption statement: valuation, tax, retention and, below the rule, the cash.
class frmWithdrawShow : public StatementWindow {
public:
    explicit frmWithdrawShow(const QList<ShownFigure>& figures, const Trace& working = {});
};
