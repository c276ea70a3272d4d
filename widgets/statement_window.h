#pragma once

#include "fixed_dialog.h"

#include "core/trace.h"

#include <QList>

class QMenu;

// A statement, built from its declaration: each row's caption and its figure on a
// white field, and "OK", the only control that takes the focus. The figures are
// formed before the window opens. A context menu (right-click, the Menu key or
// Shift+F10) copies the statement (also Ctrl+C) or shows its working.
class StatementWindow : public FixedDialog {
public:
    // The figures as shown; `working` is the trace of the calculation that formed them.
    template <class Figures>
    StatementWindow(const StatementDecl<Figures>& decl, const QList<ShownFigure>& figures,
                    const Trace& working)
        : StatementWindow(decl.window, decl.okAt, figures, working)
    {
    }

    void cmdOK_Click();
    void mnuCopy_Click();
    void mnuWorking_Click();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    StatementWindow(const WindowDecl& window, QRect okAt, const QList<ShownFigure>& figures,
                    const Trace& working);

    QString copyText_;
    QString working_;
    QMenu* menu_;
};
