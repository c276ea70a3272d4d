#include "statement_window.h"

#include "form_controls.h"
#include "working_window.h"

#include "calc/statement_text.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>

StatementWindow::StatementWindow(const WindowDecl& window, QRect okAt,
                                 const QList<ShownFigure>& figures, const Trace& working)
    : FixedDialog(window),
      copyText_(statementCopyText(window.title, working, figures)),
      working_(workingText(working)),
      menu_(new QMenu(this))
{
    for (const ShownFigure& figure : figures) {
        const RowLayout& row = *figure.row;
        addCaptionLabel(this, row.captionName.toString(), row.caption.toString(),
                        row.captionAt.x(), row.captionAt.y());
        QLabel* value =
            addValueLabel(this, row.valueName.toString(), row.valueAt, row.caption.toString());
        value->setText(figure.text);
    }
    auto* cmdOK = addButton(this, QStringLiteral("cmdOK"), QStringLiteral("OK"), okAt);
    connect(cmdOK, &QPushButton::clicked, this, &StatementWindow::cmdOK_Click);

    // The window's own actions, so Ctrl+C works without the menu and adds no control.
    menu_->setObjectName(QStringLiteral("mnuStatement"));
    QAction* copy = menu_->addAction(QStringLiteral("コピー(&C)"), this, &StatementWindow::mnuCopy_Click);
    copy->setObjectName(QStringLiteral("mnuCopy"));
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WindowShortcut);
    addAction(copy);
    QAction* showWorking =
        menu_->addAction(QStringLiteral("計算過程(&W)"), this, &StatementWindow::mnuWorking_Click);
    showWorking->setObjectName(QStringLiteral("mnuWorking"));

    cmdOK->setFocus(Qt::OtherFocusReason);
}

void StatementWindow::cmdOK_Click() { close(); }

void StatementWindow::mnuCopy_Click() { QGuiApplication::clipboard()->setText(copyText_); }

void StatementWindow::mnuWorking_Click()
{
    WorkingWindow working(working_, this);
    working.exec();
}

void StatementWindow::contextMenuEvent(QContextMenuEvent* event)
{
    // From the keyboard, the menu opens at the control that has the focus.
    QPoint at = event->globalPos();
    if (event->reason() == QContextMenuEvent::Keyboard && focusWidget())
        at = focusWidget()->mapToGlobal(focusWidget()->rect().center());
    menu_->exec(at);
    event->accept();
}

void StatementWindow::keyPressEvent(QKeyEvent* event)
{
    // Handled here, and accepted, so the toolkit does not open a second menu for it.
    const bool menuKey = event->key() == Qt::Key_Menu && event->modifiers() == Qt::NoModifier;
    if (menuKey || (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)) {
        event->accept();
        QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, QPoint(), QCursor::pos());
        contextMenuEvent(&menuEvent);
        return;
    }
    // The copy action's shortcut needs the window active; a Ctrl+C that reaches the
    // window while the toolkit still counts the closing menu as active copies as well.
    if (event->matches(QKeySequence::Copy)) {
        event->accept();
        mnuCopy_Click();
        return;
    }
    FixedDialog::keyPressEvent(event);
}
