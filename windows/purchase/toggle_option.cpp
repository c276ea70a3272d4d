#include "toggle_option.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionButton>

ToggleOption::ToggleOption(const QString& text, QWidget* parent) : QRadioButton(text, parent) {}

void ToggleOption::setSelected(bool selected)
{
    // Whether an auto-exclusive button lets itself be cleared depends on its
    // siblings; lift that for the moment so clearing always works.
    if (!selected && isChecked() && autoExclusive()) {
        setAutoExclusive(false);
        setChecked(false);
        setAutoExclusive(true);
        return;
    }
    setChecked(selected);
}

void ToggleOption::nextCheckState()
{
    // A lone option has no sibling to take the selection, and Qt would let a click
    // clear it.
    if (!isChecked())
        setChecked(true);
}

void ToggleOption::mousePressEvent(QMouseEvent* event)
{
    QRadioButton::mousePressEvent(event);
    // The base class ignores other buttons and presses beside its text; accepting
    // every press keeps the release coming back here.
    pressedHere_ |= event->button();
    event->accept();
}

void ToggleOption::mouseReleaseEvent(QMouseEvent* event)
{
    QRadioButton::mouseReleaseEvent(event);
    event->accept();
    if (!pressedHere_.testFlag(event->button()))
        return;
    pressedHere_ &= ~Qt::MouseButtons(event->button());
    emit mouseUp();
}

void ToggleOption::keyReleaseEvent(QKeyEvent* event)
{
    // The base class clicks on the release that ends a press of Space, once however long
    // the key is held; a press the focus left, or Esc, cancelled, leaves the button up.
    const bool clicks = isDown() && !event->isAutoRepeat()
                        && (event->key() == Qt::Key_Space || event->key() == Qt::Key_Select);
    QRadioButton::keyReleaseEvent(event);
    if (clicks)
        emit mouseUp();
}

void ToggleOption::initStyleOption(QStyleOptionButton* option) const
{
    QRadioButton::initStyleOption(option);
    // The option has the focus when its window opens, before any key is pressed, and
    // styles mark a focused button only once the keyboard has moved the focus; the user
    // must see where typing goes.
    if (option->state.testFlag(QStyle::State_HasFocus))
        option->state |= QStyle::State_KeyboardFocusChange;
}
