#pragma once

// One table per window: a row for the window and a row for each control, holding the
// figures the window must show. One check compares the built window with a row, so a
// wrong entry in the tables the windows are built from fails on its own row.

#include <QList>
#include <QMetaType>
#include <QPoint>
#include <QSize>
#include <QString>

class QWidget;

namespace support {

struct Control {
    enum class Kind {
        Window,   // the window itself: caption, client area on the screen, title-bar boxes
        MenuItem, // the menu bar's only item, a command in itself
        Option,   // an option button, initially not selected
        Box,      // a text box with its initial text, input method off, no length limit
        Button,   // a push button that is never a default button
        Caption,  // a label that sizes itself to its text
        Value,    // a figure: fixed size, left-aligned, on a white field
        Rule,     // a horizontal line
    };
    // Every member has a default, so a row names only what it needs.
    Kind kind = Kind::Window;
    QString name = {};
    QString text = {};    // caption, title, initial text or figure
    QPoint at = {};       // twips in the client area; for the window, the client area on the screen
    QSize size = {};      // twips; none for a caption; for a rule, its length
    QString tooltip = {};
    int tab = -1;         // place in the Tab order; -1 for a control that never takes the focus
    bool rightAligned = false;
    QString describedAs = {}; // a figure's row caption, its description for assistive tools
    int tabStops = 0;         // the window: how many controls the Tab key visits
    bool maximizeBox = false; // the window: whether its title bar has a maximize box
};

// The data function of a layout check: a column "control" and one row per entry,
// named after the control.
void addControlRows(const QList<Control>& rows);

// Compares the current row with `window`: the window, shown and active, or the
// control of that name in it.
void checkControl(QWidget* window);

} // namespace support

Q_DECLARE_METATYPE(support::Control)
