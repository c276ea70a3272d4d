#include "app/main_window.h"
#include "calc/purchase/purchase_statement_window.h"
#include "calc/purchase/purchase_window.h"
#include "core/calc_record.h"
#include "support/modal.h"
#include "widgets/twips.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QtTest>

Q_DECLARE_METATYPE(Qt::MouseButton)

namespace {

template <class T>
T* child(QWidget* window, const QString& name)
{
    T* found = window->findChild<T*>(name);
    if (!found)
        qFatal("no %s named %s", T::staticMetaObject.className(), qPrintable(name));
    return found;
}

QLineEdit* box(QWidget* window, const QString& name) { return child<QLineEdit>(window, name); }
QRadioButton* option(QWidget* window)
{
    return child<QRadioButton>(window, QStringLiteral("optChoice"));
}

void enter(QWidget* window, const QString& name, const QString& text)
{
    QLineEdit* edit = box(window, name);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
    QCOMPARE(edit->text(), text);
}

void enterAll(QWidget* window, const QString& funds, const QString& nav, const QString& fee,
              const QString& tax)
{
    enter(window, QStringLiteral("txtIM"), funds);
    enter(window, QStringLiteral("txtBL"), nav);
    enter(window, QStringLiteral("txtFP1"), fee);
    enter(window, QStringLiteral("txtFP2"), tax);
}

QStringList boxTexts(QWidget* window)
{
    QStringList texts;
    for (const char* name : {"txtIM", "txtBL", "txtFP1", "txtFP2"})
        texts << box(window, QString::fromLatin1(name))->text();
    return texts;
}

// A press on the option's indicator and a release, delivered through the window as
// the platform delivers them: the press goes to the widget under the pointer, the
// release to the widget that took the press. A click at the centre of the wide
// option could miss its hit area.
void pressAndRelease(QRadioButton* opt, Qt::MouseButton button, bool releaseOffOption = false)
{
    QStyleOptionButton styleOption;
    styleOption.initFrom(opt);
    const QPoint indicator =
        opt->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &styleOption, opt).center();
    QWidget* window = opt->window();
    const QPoint at = opt->mapTo(window, indicator);
    const QPoint below = opt->mapTo(window, QPoint(0, opt->height() + 30));
    const QPoint releaseAt = releaseOffOption ? below : at;
    QTest::mousePress(window->windowHandle(), button, {}, at);
    QTest::mouseRelease(window->windowHandle(), button, {}, releaseAt);
}

struct StatementSeen {
    QString windowName;
    QString title;
    QStringList figures; // lblOA, lblIM, lblFP, lblTI
    QString focused;
};

// Presses "計算" and reads the statement that opens, then closes it with "OK"
// (or its close box).
StatementSeen calculateAndRead(QWidget* window, bool closeWithCloseBox = false)
{
    StatementSeen seen;
    whenModalAppears([&seen, closeWithCloseBox](QWidget* modal) {
        seen.windowName = modal->objectName();
        seen.title = modal->windowTitle();
        if (seen.windowName != QStringLiteral("frmBuyShow")) {
            modal->close();
            return;
        }
        for (const char* name : {"lblOA", "lblIM", "lblFP", "lblTI"})
            seen.figures << child<QLabel>(modal, QString::fromLatin1(name))->text();
        // The window's own focus: activation may still be on its way.
        if (QWidget* focus = modal->focusWidget())
            seen.focused = focus->objectName();
        if (closeWithCloseBox)
            modal->close();
        else
            QTest::mouseClick(child<QPushButton>(modal, QStringLiteral("cmdOK")), Qt::LeftButton);
    });
    QTest::mouseClick(child<QPushButton>(window, QStringLiteral("cmdCalc")), Qt::LeftButton);
    return seen;
}

struct MessageSeen {
    QString text;
    QString title;
    int icon = -1;
};

MessageSeen calculateExpectingMessage(QWidget* window)
{
    MessageSeen seen;
    dismissNextMessage(&seen.text, &seen.title, &seen.icon);
    QTest::mouseClick(child<QPushButton>(window, QStringLiteral("cmdCalc")), Qt::LeftButton);
    return seen;
}

void showAndWait(QWidget* window)
{
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window));
}

} // namespace

class PurchaseWindowTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QTRY_COMPARE(visibleTopLevelCount(), 0);
    }

    void inputWindowFrame()
    {
        CalcRecord record;
        frmBuy window(record);
        showAndWait(&window);
        QCOMPARE(window.windowTitle(), QStringLiteral("Miroven-購入時"));
        QCOMPARE(window.geometry(), twipsRect(2385, 3510, 4680, 2640));
        QVERIFY(!window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(!window.windowIcon().pixmap(32).isNull());
        QVERIFY(!option(&window)->isChecked());
        QCOMPARE(window.focusWidget(), option(&window));
        for (QPushButton* button : window.findChildren<QPushButton*>())
            QVERIFY2(!button->isDefault() && !button->autoDefault(),
                     qPrintable(button->objectName()));
    }

    // Every control of the purchase window: place, caption or initial text, tooltip.
    void inputWindowControls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRect>("twipsBox");
        QTest::addColumn<QString>("tooltip");
        QTest::addColumn<bool>("rightAligned");

        QTest::newRow("option") << "optChoice" << "手数料も購入資金でカバーする"
                                << QRect(240, 240, 2895, 375)
                                << "手数料が購入資金に含まれるかどうかです" << false;
        QTest::newRow("funds box") << "txtIM" << "0" << QRect(1560, 720, 1335, 270) << "" << false;
        QTest::newRow("NAV box") << "txtBL" << "0" << QRect(1560, 1200, 1335, 270) << "" << false;
        QTest::newRow("fee box") << "txtFP1" << "3" << QRect(1560, 1680, 495, 270) << "" << true;
        QTest::newRow("tax box") << "txtFP2" << "5" << QRect(1560, 2040, 495, 270) << "" << true;
        QTest::newRow("calculate") << "cmdCalc" << "計算" << QRect(3480, 240, 1095, 375) << ""
                                   << false;
        QTest::newRow("exit") << "cmdCancel" << "終了" << QRect(3480, 720, 1095, 375) << ""
                              << false;
        QTest::newRow("funds caption") << "Label1" << "購入資金" << QRect(240, 720, 720, 180)
                                       << "購入のために支払う金額です" << false;
        QTest::newRow("fee caption") << "Label2" << "販売手数料(%)" << QRect(240, 1680, 1110, 180)
                                     << "販売手数料を%で入力してください" << false;
        QTest::newRow("tax caption") << "Label3" << "消費税(%)" << QRect(240, 2040, 750, 180)
                                     << "消費税率です" << false;
        QTest::newRow("NAV caption") << "Label4" << "基準価額" << QRect(240, 1200, 720, 180)
                                     << "10,000口当たりの基準価額を入力してください" << false;
    }
    void inputWindowControls()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QRect, twipsBox);
        QFETCH(QString, tooltip);
        QFETCH(bool, rightAligned);

        CalcRecord record;
        frmBuy window(record);
        auto* control = child<QWidget>(&window, name);
        const QRect expected =
            twipsRect(twipsBox.x(), twipsBox.y(), twipsBox.width(), twipsBox.height());
        QCOMPARE(control->toolTip(), tooltip);
        if (auto* label = qobject_cast<QLabel*>(control)) {
            // Captions size themselves to their text.
            QCOMPARE(label->text(), text);
            QCOMPARE(label->pos(), expected.topLeft());
            QCOMPARE(label->size(), label->sizeHint());
            return;
        }
        QCOMPARE(control->geometry(), expected);
        if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            QCOMPARE(edit->text(), text);
            QCOMPARE(bool(edit->alignment() & Qt::AlignRight), rightAligned);
            QVERIFY(!edit->testAttribute(Qt::WA_InputMethodEnabled));
        } else {
            QCOMPARE(qobject_cast<QAbstractButton*>(control)->text(), text);
        }
    }

    void tabOrder()
    {
        CalcRecord record;
        frmBuy window(record);
        showAndWait(&window);
        const QStringList expected = {"optChoice", "txtIM", "txtBL", "txtFP1",
                                      "txtFP2",    "cmdCalc", "cmdCancel", "optChoice"};
        QStringList seen = {window.focusWidget()->objectName()};
        for (int i = 1; i < expected.size(); ++i) {
            QTest::keyClick(window.focusWidget(), Qt::Key_Tab);
            seen << window.focusWidget()->objectName();
        }
        QCOMPARE(seen, expected);
    }

    void statementWindow()
    {
        frmBuyShow statement(PurchaseFigures{-9695, 9999, 305, 32767});
        showAndWait(&statement);
        QCOMPARE(statement.windowTitle(), QStringLiteral("Miroven-購入明細"));
        QCOMPARE(statement.geometry(), twipsRect(2385, 6525, 3975, 1710));
        QVERIFY(!statement.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(!statement.windowIcon().pixmap(32).isNull());

        // Only "OK" takes the focus, and has it.
        auto* ok = child<QPushButton>(&statement, QStringLiteral("cmdOK"));
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QCOMPARE(ok->geometry(), twipsRect(2880, 240, 975, 375));
        QCOMPARE(statement.focusWidget(), ok);
        for (QWidget* widget : statement.findChildren<QWidget*>())
            if (widget != ok)
                QVERIFY2(widget->focusPolicy() == Qt::NoFocus, qPrintable(widget->objectName()));

        auto* rule = child<QFrame>(&statement, QStringLiteral("Line1"));
        QCOMPARE(rule->frameShape(), QFrame::HLine);
        QCOMPARE(rule->x(), twips(240));
        QCOMPARE(rule->x() + rule->width(), twips(2760));
        QCOMPARE(rule->y(), twips(1200));
        statement.close();
    }

    void statementRows_data()
    {
        QTest::addColumn<QString>("captionName");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QPoint>("captionAt");
        QTest::addColumn<QString>("valueName");
        QTest::addColumn<QPoint>("valueAt");
        QTest::addColumn<QString>("shown");

        QTest::newRow("units") << "Label2" << "購入口数" << QPoint(120, 120)
                               << "lblOA" << QPoint(1200, 120) << "-9695";
        QTest::newRow("amount") << "Label3" << "（金額）" << QPoint(120, 480)
                                << "lblIM" << QPoint(1200, 480) << "9999";
        QTest::newRow("fee") << "Label5" << "手数料" << QPoint(120, 840)
                             << "lblFP" << QPoint(1200, 840) << "305";
        QTest::newRow("total, indented") << "Label1" << "総投資額" << QPoint(240, 1320)
                                         << "lblTI" << QPoint(1200, 1320) << "32767";
    }
    void statementRows()
    {
        QFETCH(QString, captionName);
        QFETCH(QString, caption);
        QFETCH(QPoint, captionAt);
        QFETCH(QString, valueName);
        QFETCH(QPoint, valueAt);
        QFETCH(QString, shown);

        frmBuyShow statement(PurchaseFigures{-9695, 9999, 305, 32767});
        auto* label = child<QLabel>(&statement, captionName);
        QCOMPARE(label->text(), caption);
        QCOMPARE(label->pos(), QPoint(twips(captionAt.x()), twips(captionAt.y())));
        QCOMPARE(label->size(), label->sizeHint());

        auto* value = child<QLabel>(&statement, valueName);
        QCOMPARE(value->text(), shown);
        QCOMPARE(value->geometry(), twipsRect(valueAt.x(), valueAt.y(), 1455, 255));
        QCOMPARE(value->minimumSize(), value->maximumSize());
        QCOMPARE(value->accessibleDescription(), caption);
    }

    // From typing to the statement's figures, and back to the window as it was.
    void statementThroughTheWindow_data()
    {
        QTest::addColumn<QString>("funds");
        QTest::addColumn<QString>("nav");
        QTest::addColumn<QString>("fee");
        QTest::addColumn<QString>("tax");
        QTest::addColumn<bool>("fromFunds");
        QTest::addColumn<QStringList>("figures");
        QTest::addColumn<bool>("closeBox");

        QTest::newRow("10000 at 10000, from funds")
            << "10000" << "10000" << "3" << "5" << true
            << QStringList{"9694", "9694", "305", "10000"} << false;
        QTest::newRow("10000 at 12345, from funds, closed from the title bar")
            << "10000" << "12345" << "3" << "5" << true
            << QStringList{"7853", "9694", "305", "10000"} << true;
        QTest::newRow("31766 at the defaults")
            << "31766" << "10000" << "3" << "5" << false
            << QStringList{"31766", "31766", "1001", "32767"} << false;
        QTest::newRow("negative funds")
            << "-10000" << "10000" << "3" << "5" << true
            << QStringList{"-9695", "-9695", "-305", "-10000"} << false;
        QTest::newRow("tax 0 accepted")
            << "100" << "10000" << "2.5" << "0" << false
            << QStringList{"100", "100", "2", "102"} << false;
    }
    void statementThroughTheWindow()
    {
        QFETCH(QString, funds);
        QFETCH(QString, nav);
        QFETCH(QString, fee);
        QFETCH(QString, tax);
        QFETCH(bool, fromFunds);
        QFETCH(QStringList, figures);
        QFETCH(bool, closeBox);

        CalcRecord record;
        frmBuy window(record);
        showAndWait(&window);
        if (fromFunds)
            pressAndRelease(option(&window), Qt::LeftButton);
        QCOMPARE(option(&window)->isChecked(), fromFunds);
        enterAll(&window, funds, nav, fee, tax);

        const StatementSeen seen = calculateAndRead(&window, closeBox);
        QCOMPARE(seen.windowName, QStringLiteral("frmBuyShow"));
        QCOMPARE(seen.title, QStringLiteral("Miroven-購入明細"));
        QCOMPARE(seen.figures, figures);
        QCOMPARE(seen.focused, QStringLiteral("cmdOK"));

        QVERIFY(window.isVisible());
        QCOMPARE(boxTexts(&window), (QStringList{funds, nav, fee, tax}));
        QCOMPARE(option(&window)->isChecked(), fromFunds);
    }

    // Every refusal is a message; the window keeps what was typed, and a refused box
    // gets the focus with its text selected.
    void refusals_data()
    {
        QTest::addColumn<QString>("funds");
        QTest::addColumn<QString>("nav");
        QTest::addColumn<QString>("fee");
        QTest::addColumn<QString>("tax");
        QTest::addColumn<bool>("fromFunds");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("focusedBox");

        const int none = QMessageBox::NoIcon;
        const int warning = QMessageBox::Warning;
        QTest::newRow("fresh window")
            << "0" << "0" << "3" << "5" << false
            << "購入資金が入力されていません" << none << "";
        QTest::newRow("funds in, NAV 0")
            << "10000" << "0" << "3" << "5" << false
            << "基準価額が入力されていません" << none << "";
        QTest::newRow("fee 0 %")
            << "10000" << "10000" << "0" << "5" << false
            << "販売手数料(%)が入力されていません" << none << "";
        QTest::newRow("funds not a number")
            << "abc" << "10000" << "3" << "5" << false
            << "購入資金には数値を入力してください" << warning << "txtIM";
        QTest::newRow("NAV beyond 16 bits")
            << "10000" << "40000" << "3" << "5" << false
            << "基準価額には -32768 から 32767 までの数値を入力してください" << warning << "txtBL";
        QTest::newRow("tax not a number")
            << "10000" << "10000" << "3" << "1.2.3" << false
            << "消費税(%)には数値を入力してください" << warning << "txtFP2";
        QTest::newRow("31767: total beyond 16 bits")
            << "31767" << "10000" << "3" << "5" << false
            << "総投資額が計算できる範囲を超えています" << warning << "";
        QTest::newRow("fee on top beyond 16 bits")
            << "32767" << "10000" << "200" << "5" << false
            << "手数料が計算できる範囲を超えています" << warning << "";
        QTest::newRow("cost factor 0")
            << "10000" << "10000" << "-100" << "0" << true
            << "入力された値では計算できません" << warning << "";
    }
    void refusals()
    {
        QFETCH(QString, funds);
        QFETCH(QString, nav);
        QFETCH(QString, fee);
        QFETCH(QString, tax);
        QFETCH(bool, fromFunds);
        QFETCH(QString, message);
        QFETCH(int, icon);
        QFETCH(QString, focusedBox);

        CalcRecord record;
        frmBuy window(record);
        showAndWait(&window);
        if (fromFunds)
            pressAndRelease(option(&window), Qt::LeftButton);
        enterAll(&window, funds, nav, fee, tax);

        const MessageSeen seen = calculateExpectingMessage(&window);
        QCOMPARE(seen.text, message);
        QCOMPARE(seen.title, QStringLiteral("Miroven"));
        QCOMPARE(seen.icon, icon);

        QVERIFY(window.isVisible());
        QCOMPARE(boxTexts(&window), (QStringList{funds, nav, fee, tax}));
        QCOMPARE(option(&window)->isChecked(), fromFunds);
        if (!focusedBox.isEmpty()) {
            QLineEdit* refused = box(&window, focusedBox);
            // The window's own focus: the user meets it when the message has gone.
            QCOMPARE(window.focusWidget(), refused);
            QCOMPARE(refused->selectedText(), refused->text());
        }
    }

    // Each release of a mouse button pressed on the option acts on the record's memory.
    void toggle_data()
    {
        QTest::addColumn<int>("memoryBefore");
        QTest::addColumn<bool>("selectedBefore");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("releaseOff");
        QTest::addColumn<bool>("selectedAfter");
        QTest::addColumn<int>("memoryAfter");

        QTest::newRow("left, memory 0: selects")
            << 0 << false << Qt::LeftButton << false << true << -1;
        QTest::newRow("right, memory 0: selects")
            << 0 << false << Qt::RightButton << false << true << -1;
        QTest::newRow("middle, memory 0: selects")
            << 0 << false << Qt::MiddleButton << false << true << -1;
        QTest::newRow("left, memory -1: clears")
            << -1 << true << Qt::LeftButton << false << false << 0;
        QTest::newRow("right, memory -1: clears")
            << -1 << true << Qt::RightButton << false << false << 0;
        QTest::newRow("left released off the option still acts")
            << 0 << false << Qt::LeftButton << true << true << -1;
        QTest::newRow("right released off the option still acts")
            << -1 << true << Qt::RightButton << true << false << 0;
        QTest::newRow("reopened with memory -1: first release clears")
            << -1 << false << Qt::LeftButton << false << false << 0;
        QTest::newRow("selected by keyboard, memory 0: stays selected")
            << 0 << true << Qt::LeftButton << false << true << -1;
        QTest::newRow("any other memory: left click is the toolkit's own")
            << 5 << false << Qt::LeftButton << false << true << 5;
        QTest::newRow("any other memory: right release changes nothing")
            << 5 << false << Qt::RightButton << false << false << 5;
        QTest::newRow("any other memory: a selected option stays selected")
            << 1 << true << Qt::LeftButton << false << true << 1;
    }
    void toggle()
    {
        QFETCH(int, memoryBefore);
        QFETCH(bool, selectedBefore);
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, releaseOff);
        QFETCH(bool, selectedAfter);
        QFETCH(int, memoryAfter);

        CalcRecord record;
        record.FeeCovered = Integer(memoryBefore);
        frmBuy window(record);
        showAndWait(&window);
        if (selectedBefore) {
            // Space is the toolkit's own selection and leaves the memory alone.
            QTest::keyClick(option(&window), Qt::Key_Space);
            QVERIFY(option(&window)->isChecked());
            QCOMPARE(record.FeeCovered, Integer(memoryBefore));
        }
        pressAndRelease(option(&window), button, releaseOff);
        QCOMPARE(option(&window)->isChecked(), selectedAfter);
        QCOMPARE(int(record.FeeCovered), memoryAfter);
    }

    void keyboardNeverClearsNorRemembers()
    {
        CalcRecord record;
        frmBuy window(record);
        showAndWait(&window);
        pressAndRelease(option(&window), Qt::LeftButton);
        QCOMPARE(record.FeeCovered, Integer(-1));
        QTest::keyClick(option(&window), Qt::Key_Space);
        QTest::keyClick(option(&window), Qt::Key_Down);
        QVERIFY(option(&window)->isChecked());
        QCOMPARE(record.FeeCovered, Integer(-1));
        QVERIFY(option(&window)->autoExclusive());
    }

    // From program start: select, clear, select, with "計算" in between; the total
    // follows the option as it stood when "計算" was pressed.
    void toggleSequenceFromStart()
    {
        CalcRecord record;
        frmBuy window(record);
        showAndWait(&window);
        enterAll(&window, "10000", "10000", "3", "5");
        const QStringList fromFunds = {"9694", "9694", "305", "10000"};
        const QStringList onTop = {"10000", "10000", "315", "10315"};

        QCOMPARE(calculateAndRead(&window).figures, onTop);
        const bool expectSelected[] = {true, false, true};
        for (const bool selected : expectSelected) {
            pressAndRelease(option(&window), Qt::LeftButton);
            QCOMPARE(option(&window)->isChecked(), selected);
            QCOMPARE(record.FeeCovered, Integer(selected ? -1 : 0));
            QCOMPARE(calculateAndRead(&window).figures, selected ? fromFunds : onTop);
            QCOMPARE(option(&window)->isChecked(), selected);
            QCOMPARE(record.FeeCovered, Integer(selected ? -1 : 0));
        }
    }

    // Through the main menu: each opening starts afresh, but the option's memory
    // lives on in the record.
    void reopeningFromTheMainMenu()
    {
        CalcRecord record;
        frmmain menu(record);
        showAndWait(&menu);
        auto* cmdBuy = child<QPushButton>(&menu, QStringLiteral("cmdBuy"));

        QStringList firstFigures;
        whenModalAppears([&firstFigures](QWidget* window) {
            QCOMPARE(window->objectName(), QStringLiteral("frmBuy"));
            pressAndRelease(option(window), Qt::LeftButton);
            enterAll(window, "10000", "10000", "3", "5");
            firstFigures = calculateAndRead(window).figures;
            QTest::mouseClick(child<QPushButton>(window, QStringLiteral("cmdCancel")),
                              Qt::LeftButton);
        });
        QTest::mouseClick(cmdBuy, Qt::LeftButton);
        QCOMPARE(firstFigures, (QStringList{"9694", "9694", "305", "10000"}));
        QCOMPARE(record.FeeCovered, Integer(-1));
        QCOMPARE(record.IM, Integer(10000));

        QStringList reopenedTexts;
        bool selectedAtOpening = true;
        bool afterFirstRelease = true;
        bool afterSecondRelease = false;
        QString focusAtOpening;
        whenModalAppears([&](QWidget* window) {
            reopenedTexts = boxTexts(window);
            selectedAtOpening = option(window)->isChecked();
            if (QWidget* focus = window->focusWidget())
                focusAtOpening = focus->objectName();
            pressAndRelease(option(window), Qt::LeftButton);
            afterFirstRelease = option(window)->isChecked();
            pressAndRelease(option(window), Qt::LeftButton);
            afterSecondRelease = option(window)->isChecked();
            window->close(); // the close box
        });
        QTest::mouseClick(cmdBuy, Qt::LeftButton);
        QCOMPARE(reopenedTexts, (QStringList{"0", "0", "3", "5"}));
        QVERIFY(!selectedAtOpening);
        QCOMPARE(focusAtOpening, QStringLiteral("optChoice"));
        QVERIFY(!afterFirstRelease);
        QVERIFY(afterSecondRelease);
        QCOMPARE(record.FeeCovered, Integer(-1));
        menu.close();
    }
};

QTEST_MAIN(PurchaseWindowTest)
#include "tst_purchase_window.moc"
