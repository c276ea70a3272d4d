#pragma once

#include "calc/declaration.h"

#include <QDialog>

// A modal window of fixed client size that opens with its client area at a fixed
// place on the screen, has no Enter or Esc button, and closes only from its own
// buttons or its title bar. A maximize box lets the frame grow; the contents stay.
class FixedDialog : public QDialog {
public:
    explicit FixedDialog(const WindowDecl& decl);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
