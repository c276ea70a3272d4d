#include "controls.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QtTest>

namespace support {

namespace {

void fail(const QString& message, const SourceLocation& where)
{
    QTest::qFail(qPrintable(message), where.file_name(), int(where.line()));
}

// What a user would type. Text nobody types (thousands of characters, full-width forms,
// control characters) arrives by pasting; key clicks of very long text would also take
// seconds, as each key lays the whole line out anew.
bool typedByKeys(const QString& text)
{
    constexpr qsizetype kLongestTyped = 256;
    return text.size() <= kLongestTyped
           && std::all_of(text.cbegin(), text.cend(),
                          [](QChar c) { return c.unicode() <= 0xff && c.isPrint(); });
}

} // namespace

void failMissingChild(const QWidget* window, const char* type, const QString& name,
                      const SourceLocation& where)
{
    const QString owner = window ? window->objectName() : QStringLiteral("(no window)");
    fail(QStringLiteral("%1 has no %2 named %3").arg(owner, QLatin1String(type), name), where);
}

QString textOf(const QWidget* window, const QString& name)
{
    const QWidget* control = window ? window->findChild<QWidget*>(name) : nullptr;
    if (!control)
        return QStringLiteral("<no %1>").arg(name);
    return control->property("text").toString();
}

QStringList textsOf(const QWidget* window, const QStringList& names)
{
    QStringList texts;
    for (const QString& name : names)
        texts << textOf(window, name);
    return texts;
}

void typeInto(QLineEdit* box, const QString& text, const SourceLocation& where)
{
    if (!box)
        return;
    box->setFocus(Qt::MouseFocusReason);
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    if (typedByKeys(text)) {
        QTest::keyClicks(box, text);
    } else {
        QGuiApplication::clipboard()->setText(text);
        QTest::keySequence(box, QKeySequence::Paste);
    }
    if (box->text() != text)
        fail(QStringLiteral("%1 holds \"%2\" after typing \"%3\"")
                 .arg(box->objectName(), box->text(), text),
             where);
}

void typeInto(const QWidget* window, const QString& box, const QString& text,
              const SourceLocation& where)
{
    typeInto(child<QLineEdit>(window, box, where), text, where);
}

void typeAll(const QWidget* window, const QStringList& boxes, const QStringList& texts,
             const SourceLocation& where)
{
    if (boxes.size() != texts.size()) {
        fail(QStringLiteral("%1 texts for %2 boxes").arg(texts.size()).arg(boxes.size()), where);
        return;
    }
    for (qsizetype i = 0; i < boxes.size(); ++i)
        typeInto(window, boxes.at(i), texts.at(i), where);
}

void click(const QWidget* window, const QString& button, const SourceLocation& where)
{
    if (auto* target = child<QAbstractButton>(window, button, where))
        QTest::mouseClick(target, Qt::LeftButton);
}

bool showAndActivate(QWidget* window)
{
    window->show();
    return QTest::qWaitForWindowActive(window);
}

QString focusName(const QWidget* window)
{
    const QWidget* focus = window ? window->focusWidget() : nullptr;
    return focus ? focus->objectName() : QString();
}

QStringList tabSequence(QWidget* window)
{
    QWidget* first = window->focusWidget();
    if (!first || !(first->focusPolicy() & Qt::TabFocus))
        return {};
    QStringList names{first->objectName()};
    // Bounded, so that a chain that never comes back cannot hold the test.
    QWidget* current = first;
    for (int step = 0; step < 64; ++step) {
        QTest::keyClick(current, Qt::Key_Tab);
        current = window->focusWidget();
        if (!current || current == first)
            break;
        names << current->objectName();
    }
    return names;
}

int visibleTopLevelCount()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return int(std::count_if(windows.cbegin(), windows.cend(),
                             [](const QWidget* w) { return w->isVisible(); }));
}

} // namespace support
