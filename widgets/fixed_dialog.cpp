#include "fixed_dialog.h"

#include "twips.h"
#include "window_icon.h"

#include <QKeyEvent>

FixedDialog::FixedDialog(const WindowDecl& decl) : QDialog(nullptr)
{
    setObjectName(decl.name.toString());
    setWindowTitle(decl.title.toString());
    setWindowIcon(loadWindowIcon(decl.icon.toString()));
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                            | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
    // Many window managers ignore a maximize hint on dialog-type windows, hence Qt::Window;
    // CustomizeWindowHint makes the title bar show only the boxes asked for.
    if (decl.maximizeBox)
        flags |= Qt::WindowMaximizeButtonHint;
    setWindowFlags(flags);
    setSizeGripEnabled(false);
    const QRect client = twipsRect(decl.client);
    if (decl.maximizeBox) {
        // Maximizing may grow the window; the controls keep their places and sizes.
        setMinimumSize(client.size());
        resize(client.size());
    } else {
        setFixedSize(client.size());
    }
    // On a top-level widget, the position is that of the client area, frame excluded.
    setGeometry(client);
}

void FixedDialog::keyPressEvent(QKeyEvent* event)
{
    // QDialog would reject() on Esc; these windows have no cancel button.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
