#pragma once

#include <QPushButton>

// A push button that is never a default button: Enter and Space press it only
// while it has the focus, and Enter in a text box presses nothing.
class CommandButton : public QPushButton {
public:
    CommandButton(const QString& text, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
