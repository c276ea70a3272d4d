#pragma once

#include "fixed_dialog.h"

#include <QList>

// A statement, built from its declaration: each row's caption and its figure on a
// white field, and "OK", the only control that takes the focus. The figures are
// formed before the window opens.
class StatementWindow : public FixedDialog {
public:
    template <class Figures>
    StatementWindow(const StatementSpec<Figures>& spec, const Figures& figures)
        : StatementWindow(spec.window, spec.okAt, shownFigures(spec, figures))
    {
    }

    void cmdOK_Click();

private:
    StatementWindow(const WindowSpec& window, QRect okAt, const QList<ShownFigure>& figures);
};
