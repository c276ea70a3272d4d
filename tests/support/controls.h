#pragma once

// Finding and working the controls of a window as a user would: by name, by typing,
// by mouse clicks. A missing control fails the running test with its name and the
// caller's line, instead of crashing or stopping the test program.

#include <QString>
#include <QStringList>
#include <QWidget>

#include "support/source_location.h"

class QLineEdit;

namespace support {

// Records a failure of the running test: `window` has no `type` named `name`.
void failMissingChild(const QWidget* window, const char* type, const QString& name,
                      const SourceLocation& where);

// The child of `window` named `name`, or nullptr after failing the running test.
template <class T = QWidget>
T* child(const QWidget* window, const QString& name,
         const SourceLocation& where = SourceLocation::current())
{
    T* found = window ? window->findChild<T*>(name) : nullptr;
    if (!found)
        failMissingChild(window, T::staticMetaObject.className(), name, where);
    return found;
}

// What a control shows (its "text" property): a caption, a box's text, a figure.
// A missing control reads as "<no NAME>", so a comparison names it.
[[nodiscard]] QString textOf(const QWidget* window, const QString& name);
[[nodiscard]] QStringList textsOf(const QWidget* window, const QStringList& names);

// Replaces a box's text as a user would: printable Latin-1 by key clicks, anything else
// (full-width forms, control characters, text too long to type) by pasting. Fails the
// running test when the box then holds anything else.
void typeInto(QLineEdit* box, const QString& text,
              const SourceLocation& where = SourceLocation::current());
void typeInto(const QWidget* window, const QString& box, const QString& text,
              const SourceLocation& where = SourceLocation::current());
// Types `texts` into `boxes`, in that order.
void typeAll(const QWidget* window, const QStringList& boxes, const QStringList& texts,
             const SourceLocation& where = SourceLocation::current());

// Presses a button with a real click of the left mouse button.
void click(const QWidget* window, const QString& button,
           const SourceLocation& where = SourceLocation::current());

// Shows a top-level window and waits until it is active; false when it never is.
[[nodiscard]] bool showAndActivate(QWidget* window);

// The name of the widget that has the focus within `window` (its own focus, which it
// keeps while another window is active), or an empty string.
[[nodiscard]] QString focusName(const QWidget* window);

// The controls the Tab key visits in `window`, from its focus widget onwards, as the
// key moves the focus. `window` must be shown and active.
[[nodiscard]] QStringList tabSequence(QWidget* window);

// Top-level widgets still visible, for checking that a test left none open.
[[nodiscard]] int visibleTopLevelCount();

} // namespace support
