#include "layout.h"

#include "controls.h"
#include "widgets/twips.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace support {

namespace {

QRect twipsRect(QPoint at, QSize size)
{
    return ::twipsRect(at.x(), at.y(), size.width(), size.height());
}

// What the layout's places are measured from: the area below a main window's menu bar.
QWidget* clientArea(QWidget* window)
{
    if (auto* main = qobject_cast<QMainWindow*>(window))
        return main->centralWidget();
    return window;
}

QRect placeIn(const QWidget* client, const QWidget* control)
{
    return {control->mapTo(client, QPoint(0, 0)), control->size()};
}

void checkWindow(QWidget* window, const Control& c)
{
    const QWidget* client = clientArea(window);
    QVERIFY(client);
    QCOMPARE(window->objectName(), c.name);
    QCOMPARE(window->windowTitle(), c.text);
    QCOMPARE(QRect(client->mapToGlobal(QPoint(0, 0)), client->size()), twipsRect(c.at, c.size));
    QCOMPARE(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint), c.maximizeBox);
    QVERIFY(window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(window->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!window->windowIcon().pixmap(32).isNull());
    // No Enter button anywhere: a default button would take Enter typed in a box.
    for (const QPushButton* button : window->findChildren<QPushButton*>())
        QVERIFY2(!button->isDefault() && !button->autoDefault(), qPrintable(button->objectName()));
    QCOMPARE(tabSequence(window).size(), c.tabStops);
}

void checkMenuItem(QWidget* window, const Control& c)
{
    auto* item = child<QAction>(window, c.name);
    QVERIFY(item);
    QCOMPARE(item->text(), c.text);
    QVERIFY(!item->menu());
    auto* menuBar = child<QMenuBar>(window, QString());
    QVERIFY(menuBar);
    QCOMPARE(menuBar->actions(), QList<QAction*>{item});
}

// Inside the client area, and clear of every other control: a caption that overruns
// its box, or a wrong place in the table, shows here.
void checkPlace(const QWidget* client, const QWidget* control)
{
    const QRect place = placeIn(client, control);
    QVERIFY2(QRect(QPoint(0, 0), client->size()).contains(place), "outside the client area");
    for (const QWidget* other : client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (other != control && other->isVisible() && placeIn(client, other).intersects(place))
            QFAIL(qPrintable(QStringLiteral("overlaps %1").arg(other->objectName())));
    }
}

template <class T>
T* as(QWidget* control)
{
    auto* typed = qobject_cast<T*>(control);
    if (!typed)
        QTest::qFail(qPrintable(QStringLiteral("%1 is a %2, not a %3")
                                    .arg(control->objectName(),
                                         QLatin1String(control->metaObject()->className()),
                                         QLatin1String(T::staticMetaObject.className()))),
                     __FILE__, __LINE__);
    return typed;
}

void checkKind(QWidget* control, const Control& c, const QRect& place)
{
    using Kind = Control::Kind;
    const QRect expected = twipsRect(c.at, c.size);
    switch (c.kind) {
    case Kind::Option: {
        auto* option = as<QRadioButton>(control);
        QVERIFY(option);
        QCOMPARE(option->text(), c.text);
        QCOMPARE(place, expected);
        QVERIFY(!option->isChecked());
        return;
    }
    case Kind::Box: {
        auto* box = as<QLineEdit>(control);
        QVERIFY(box);
        QCOMPARE(box->text(), c.text);
        QCOMPARE(place, expected);
        QCOMPARE(box->alignment().testFlag(Qt::AlignRight), c.rightAligned);
        QVERIFY(!box->testAttribute(Qt::WA_InputMethodEnabled));
        QCOMPARE(box->maxLength(), 32767); // the toolkit's own, no limit of ours
        return;
    }
    case Kind::Button: {
        auto* button = as<QPushButton>(control);
        QVERIFY(button);
        QCOMPARE(button->text(), c.text);
        QCOMPARE(place, expected);
        return;
    }
    case Kind::Caption: {
        auto* label = as<QLabel>(control);
        QVERIFY(label);
        QCOMPARE(label->text(), c.text);
        QCOMPARE(place.topLeft(), expected.topLeft());
        QCOMPARE(label->size(), label->sizeHint());
        return;
    }
    case Kind::Value: {
        auto* label = as<QLabel>(control);
        QVERIFY(label);
        QCOMPARE(label->text(), c.text);
        QCOMPARE(place, expected);
        QCOMPARE(label->minimumSize(), label->maximumSize());
        QCOMPARE(label->frameShape(), QFrame::NoFrame);
        QVERIFY(label->alignment().testFlag(Qt::AlignLeft));
        QVERIFY(label->autoFillBackground());
        QCOMPARE(label->palette().color(label->backgroundRole()),
                 QApplication::palette().color(QPalette::Base));
        QCOMPARE(label->accessibleDescription(), c.describedAs);
        return;
    }
    case Kind::Rule: {
        auto* rule = as<QFrame>(control);
        QVERIFY(rule);
        QCOMPARE(rule->frameShape(), QFrame::HLine);
        const int left = twips(c.at.x());
        QCOMPARE(place, QRect(left, twips(c.at.y()), twips(c.at.x() + c.size.width()) - left, 1));
        return;
    }
    case Kind::Window:
    case Kind::MenuItem:
        break;
    }
    QFAIL("not a control");
}

} // namespace

void addControlRows(const QList<Control>& rows)
{
    QTest::addColumn<Control>("control");
    for (const Control& row : rows)
        QTest::newRow(qPrintable(row.name)) << row;
}

void checkControl(QWidget* window)
{
    QFETCH(Control, control);
    QVERIFY(showAndActivate(window));
    if (control.kind == Control::Kind::Window) {
        checkWindow(window, control);
        return;
    }
    if (control.kind == Control::Kind::MenuItem) {
        checkMenuItem(window, control);
        return;
    }
    QWidget* client = clientArea(window);
    QWidget* widget = child<QWidget>(client, control.name);
    QVERIFY(widget);
    checkKind(widget, control, placeIn(client, widget));
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(widget->toolTip(), control.tooltip);
    if (control.tab >= 0)
        QCOMPARE(tabSequence(window).indexOf(control.name), control.tab);
    else
        QCOMPARE(widget->focusPolicy(), Qt::NoFocus);
    checkPlace(client, widget);
}

} // namespace support
