#include "app/application_setup.h"
#include "app/main_window.h"
#include "windows/purchase/purchase_statement_window.h"
#include "windows/purchase/purchase_window.h"
#include "core/calc_record.h"
#include "support/controls.h"
#include "support/layout.h"
#include "support/modal.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QtTest>

Q_DECLARE_METATYPE(Qt::MouseButton)

using namespace support;
using Kind = Control::Kind;

namespace {

const QStringList kBoxes{"txtIM", "txtBL", "txtFP1", "txtFP2"}; // top to bottom
const QStringList kFigures{"lblOA", "lblIM", "lblFP", "lblTI"};

QRadioButton* option(const QWidget* window)
{
    return child<QRadioButton>(window, QStringLiteral("optChoice"));
}

bool selected(const QWidget* window)
{
    const QRadioButton* opt = option(window);
    return opt && opt->isChecked();
}

// A press on the option's indicator and a release, delivered through the window as
// the platform delivers them: the press goes to the widget under the pointer, the
// release to the widget that took the press. A click at the centre of the wide
// option could miss its hit area.
void pressAndRelease(QRadioButton* opt, Qt::MouseButton button, bool releaseOffOption = false)
{
    if (!opt)
        return;
    QStyleOptionButton styleOption;
    styleOption.initFrom(opt);
    const QPoint indicator =
        opt->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &styleOption, opt).center();
    QWidget* window = opt->window();
    const QPoint at = opt->mapTo(window, indicator);
    const QPoint below = opt->mapTo(window, QPoint(0, opt->height() + 30));
    QTest::mousePress(window->windowHandle(), button, {}, at);
    QTest::mouseRelease(window->windowHandle(), button, {}, releaseOffOption ? below : at);
}

} // namespace

class PurchaseWindowTest : public QObject {
    Q_OBJECT

private slots:
    // The program's own font, so that captions measure as the user sees them.
    void initTestCase() { setUpApplication(*qApp); }

    void cleanup()
    {
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QTRY_COMPARE(visibleTopLevelCount(), 0);
    }

    void inputWindow_data()
    {
        addControlRows({
            {.kind = Kind::Window, .name = "frmBuy", .text = "Miroven-購入時", .at = {2385, 3510},
             .size = {4680, 2640}, .tabStops = 7},
            {.kind = Kind::Option, .name = "optChoice", .text = "手数料も購入資金でカバーする",
             .at = {240, 240}, .size = {2895, 375},
             .tooltip = "手数料が購入資金に含まれるかどうかです", .tab = 0},
            {.kind = Kind::Box, .name = "txtIM", .text = "0", .at = {1560, 720},
             .size = {1335, 270}, .tab = 1},
            {.kind = Kind::Box, .name = "txtBL", .text = "0", .at = {1560, 1200},
             .size = {1335, 270}, .tab = 2},
            {.kind = Kind::Box, .name = "txtFP1", .text = "3", .at = {1560, 1680},
             .size = {495, 270}, .tab = 3, .rightAligned = true},
            {.kind = Kind::Box, .name = "txtFP2", .text = "5", .at = {1560, 2040},
             .size = {495, 270}, .tab = 4, .rightAligned = true},
            {.kind = Kind::Caption, .name = "Label1", .text = "購入資金", .at = {240, 720},
             .tooltip = "購入のために支払う金額です"},
            {.kind = Kind::Button, .name = "cmdCalc", .text = "計算", .at = {3480, 240},
             .size = {1095, 375}, .tab = 5},
            {.kind = Kind::Button, .name = "cmdCancel", .text = "終了", .at = {3480, 720},
             .size = {1095, 375}, .tab = 6},
            {.kind = Kind::Caption, .name = "Label2", .text = "販売手数料(%)", .at = {240, 1680},
             .tooltip = "販売手数料を%で入力してください"},
            {.kind = Kind::Caption, .name = "Label3", .text = "消費税(%)", .at = {240, 2040},
             .tooltip = "消費税率です"},
            {.kind = Kind::Caption, .name = "Label4", .text = "基準価額", .at = {240, 1200},
             .tooltip = "10,000口当たりの基準価額を入力してください"},
        });
    }
    void inputWindow()
    {
        CalcRecord record;
        frmBuy window(record);
        checkControl(&window);
    }

    void statementWindow_data()
    {
        addControlRows({
            {.kind = Kind::Window, .name = "frmBuyShow", .text = "Miroven-購入明細",
             .at = {2385, 6525}, .size = {3975, 1710}, .tabStops = 1},
            {.kind = Kind::Value, .name = "lblOA", .text = "-9695", .at = {1200, 120},
             .size = {1455, 255}, .describedAs = "購入口数"},
            {.kind = Kind::Caption, .name = "Label2", .text = "購入口数", .at = {120, 120}},
            {.kind = Kind::Caption, .name = "Label3", .text = "（金額）", .at = {120, 480}},
            {.kind = Kind::Value, .name = "lblIM", .text = "9999", .at = {1200, 480},
             .size = {1455, 255}, .describedAs = "（金額）"},
            {.kind = Kind::Caption, .name = "Label5", .text = "手数料", .at = {120, 840}},
            {.kind = Kind::Value, .name = "lblFP", .text = "305", .at = {1200, 840},
             .size = {1455, 255}, .describedAs = "手数料"},
            {.kind = Kind::Caption, .name = "Label1", .text = "総投資額", .at = {240, 1320}},
            {.kind = Kind::Value, .name = "lblTI", .text = "32767", .at = {1200, 1320},
             .size = {1455, 255}, .describedAs = "総投資額"},
            {.kind = Kind::Button, .name = "cmdOK", .text = "OK", .at = {2880, 240},
             .size = {975, 375}, .tab = 0},
            {.kind = Kind::Rule, .name = "Line1", .at = {240, 1200}, .size = {2520, 0}},
        });
    }
    void statementWindow()
    {
        frmBuyShow statement(shownFigures(kPurchaseStatement, PurchaseFigures{-9695, 9999, 305, 32767}));
        checkControl(&statement);
    }

    // From typing to the statement's figures, and back to the window as it was.
    void statementThroughTheWindow_data()
    {
        QTest::addColumn<QStringList>("typed"); // funds, NAV, fee, tax
        QTest::addColumn<bool>("fromFunds");
        QTest::addColumn<QStringList>("figures");
        QTest::addColumn<bool>("closeBox");

        QTest::newRow("10000 at 10000, from funds")
            << QStringList{"10000", "10000", "3", "5"} << true
            << QStringList{"9694", "9694", "305", "10000"} << false;
        QTest::newRow("10000 at 12345, from funds, closed from the title bar")
            << QStringList{"10000", "12345", "3", "5"} << true
            << QStringList{"7853", "9694", "305", "10000"} << true;
        QTest::newRow("31766 at the defaults")
            << QStringList{"31766", "10000", "3", "5"} << false
            << QStringList{"31766", "31766", "1001", "32767"} << false;
        QTest::newRow("negative funds")
            << QStringList{"-10000", "10000", "3", "5"} << true
            << QStringList{"-9695", "-9695", "-305", "-10000"} << false;
        QTest::newRow("tax 0 accepted")
            << QStringList{"100", "10000", "2.5", "0"} << false
            << QStringList{"100", "100", "2", "102"} << false;
    }
    void statementThroughTheWindow()
    {
        QFETCH(QStringList, typed);
        QFETCH(bool, fromFunds);
        QFETCH(QStringList, figures);
        QFETCH(bool, closeBox);

        CalcRecord record;
        frmBuy window(record);
        QVERIFY(showAndActivate(&window));
        if (fromFunds)
            pressAndRelease(option(&window), Qt::LeftButton);
        QCOMPARE(selected(&window), fromFunds);
        typeAll(&window, kBoxes, typed);

        ModalWatch statement(kFigures, closeBox ? ModalWatch::closeBox() : ModalWatch::pressOk());
        click(&window, QStringLiteral("cmdCalc"));
        QVERIFY2(statement.closed(), statement.why());
        QCOMPARE(statement.seen().name, QStringLiteral("frmBuyShow"));
        QCOMPARE(statement.seen().texts, figures);
        QCOMPARE(statement.seen().focus, QStringLiteral("cmdOK"));

        QVERIFY(window.isVisible());
        QCOMPARE(textsOf(&window, kBoxes), typed);
        QCOMPARE(selected(&window), fromFunds);
    }

    // Every refusal is a message; the window keeps what was typed, and a refused or
    // missing box gets the focus with its text selected.
    void refusals_data()
    {
        QTest::addColumn<QStringList>("typed"); // funds, NAV, fee, tax
        QTest::addColumn<bool>("fromFunds");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("focusedBox");

        const int none = QMessageBox::NoIcon;
        const int warning = QMessageBox::Warning;
        QTest::newRow("fresh window")
            << QStringList{"0", "0", "3", "5"} << false
            << "購入資金が入力されていません" << none << "txtIM";
        QTest::newRow("funds in, NAV 0")
            << QStringList{"10000", "0", "3", "5"} << false
            << "基準価額が入力されていません" << none << "txtBL";
        QTest::newRow("fee 0 %")
            << QStringList{"10000", "10000", "0", "5"} << false
            << "販売手数料(%)が入力されていません" << none << "txtFP1";
        QTest::newRow("funds left blank")
            << QStringList{" ", "10000", "3", "5"} << false
            << "購入資金が入力されていません" << none << "txtIM";
        QTest::newRow("funds beyond 16 bits")
            << QStringList{"-40000", "10000", "3", "5"} << false
            << "購入資金には -32768 から 32767 までの数値を入力してください" << warning << "txtIM";
        QTest::newRow("fee too large for its type")
            << QStringList{"10000", "10000", "1" + QString(400, u'0'), "5"} << false
            << "販売手数料(%)の数値が大きすぎます" << warning << "txtFP1";
        QTest::newRow("funds not a number")
            << QStringList{"abc", "10000", "3", "5"} << false
            << "購入資金には数値を入力してください" << warning << "txtIM";
        QTest::newRow("NAV beyond 16 bits")
            << QStringList{"10000", "40000", "3", "5"} << false
            << "基準価額には -32768 から 32767 までの数値を入力してください" << warning << "txtBL";
        QTest::newRow("tax not a number")
            << QStringList{"10000", "10000", "3", "1.2.3"} << false
            << "消費税(%)には数値を入力してください" << warning << "txtFP2";
        QTest::newRow("31767: total beyond 16 bits")
            << QStringList{"31767", "10000", "3", "5"} << false
            << "総投資額が計算できる範囲を超えています" << warning << "";
        QTest::newRow("fee on top beyond 16 bits")
            << QStringList{"32767", "10000", "200", "5"} << false
            << "手数料が計算できる範囲を超えています" << warning << "";
        QTest::newRow("cost factor 0")
            << QStringList{"10000", "10000", "-100", "0"} << true
            << "入力された値では計算できません" << warning << "";
    }
    void refusals()
    {
        QFETCH(QStringList, typed);
        QFETCH(bool, fromFunds);
        QFETCH(QString, message);
        QFETCH(int, icon);
        QFETCH(QString, focusedBox);

        CalcRecord record;
        frmBuy window(record);
        QVERIFY(showAndActivate(&window));
        if (fromFunds)
            pressAndRelease(option(&window), Qt::LeftButton);
        typeAll(&window, kBoxes, typed);

        ModalWatch refusal;
        click(&window, QStringLiteral("cmdCalc"));
        QVERIFY2(refusal.closed(), refusal.why());
        QCOMPARE(refusal.seen().className, QStringLiteral("QMessageBox"));
        QCOMPARE(refusal.seen().text, message);
        QCOMPARE(refusal.seen().title, QStringLiteral("Miroven"));
        QCOMPARE(refusal.seen().icon, icon);

        QVERIFY(window.isVisible());
        QCOMPARE(textsOf(&window, kBoxes), typed);
        QCOMPARE(selected(&window), fromFunds);
        if (!focusedBox.isEmpty()) {
            auto* refused = child<QLineEdit>(&window, focusedBox);
            QVERIFY(refused);
            // The window's own focus: the user meets it when the message has gone.
            QCOMPARE(window.focusWidget(), refused);
            QCOMPARE(refused->selectedText(), refused->text());
        }
    }

    // Each release of a mouse button pressed on the option, or of Space (NoButton),
    // acts on the record's memory.
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
        QTest::newRow("selected by an assistive tool's press, memory 0: stays selected")
            << 0 << true << Qt::LeftButton << false << true << -1;
        QTest::newRow("any other memory: left click is the toolkit's own")
            << 5 << false << Qt::LeftButton << false << true << 5;
        QTest::newRow("any other memory: right release changes nothing")
            << 5 << false << Qt::RightButton << false << false << 5;
        QTest::newRow("any other memory: a selected option stays selected")
            << 1 << true << Qt::LeftButton << false << true << 1;
        QTest::newRow("Space, memory 0: selects")
            << 0 << false << Qt::NoButton << false << true << -1;
        QTest::newRow("Space, memory -1: clears")
            << -1 << true << Qt::NoButton << false << false << 0;
        QTest::newRow("Space on the reopened window, memory -1: stays clear")
            << -1 << false << Qt::NoButton << false << false << 0;
        QTest::newRow("Space, any other memory: the toolkit's own selection")
            << 5 << false << Qt::NoButton << false << true << 5;
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
        QVERIFY(showAndActivate(&window));
        if (selectedBefore) {
            // A click that is no release (an assistive tool's press) is the toolkit's
            // own selection and leaves the memory alone.
            option(&window)->click();
            QVERIFY(selected(&window));
            QCOMPARE(record.FeeCovered, Integer(memoryBefore));
        }
        if (button == Qt::NoButton)
            QTest::keyClick(window.focusWidget(), Qt::Key_Space);
        else
            pressAndRelease(option(&window), button, releaseOff);
        QCOMPARE(selected(&window), selectedAfter);
        QCOMPARE(int(record.FeeCovered), memoryAfter);
    }

    // Space held down repeats its press and release; only the key's last release acts.
    // The arrows never do.
    void keyboardActsOncePerSpace()
    {
        CalcRecord record;
        frmBuy window(record);
        QVERIFY(showAndActivate(&window));
        QRadioButton* opt = option(&window);
        QTest::keyPress(opt, Qt::Key_Space);
        for (const QEvent::Type type : {QEvent::KeyRelease, QEvent::KeyPress}) {
            QKeyEvent repeated(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
            QApplication::sendEvent(opt, &repeated);
        }
        QTest::keyRelease(opt, Qt::Key_Space);
        QTest::keyClick(opt, Qt::Key_Down);
        QVERIFY(selected(&window));
        QCOMPARE(record.FeeCovered, Integer(-1));
        QVERIFY(opt->autoExclusive());
    }

    // From program start: select, clear, select, with "計算" in between; the total
    // follows the option as it stood when "計算" was pressed.
    void toggleSequenceFromStart()
    {
        CalcRecord record;
        frmBuy window(record);
        QVERIFY(showAndActivate(&window));
        typeAll(&window, kBoxes, {"10000", "10000", "3", "5"});
        const QStringList fromFunds = {"9694", "9694", "305", "10000"};
        const QStringList onTop = {"10000", "10000", "315", "10315"};

        ModalWatch before(kFigures);
        click(&window, QStringLiteral("cmdCalc"));
        QVERIFY2(before.closed(), before.why());
        QCOMPARE(before.seen().texts, onTop);
        for (const bool expectSelected : {true, false, true}) {
            pressAndRelease(option(&window), Qt::LeftButton);
            QCOMPARE(selected(&window), expectSelected);
            QCOMPARE(record.FeeCovered, Integer(expectSelected ? -1 : 0));
            ModalWatch statement(kFigures);
            click(&window, QStringLiteral("cmdCalc"));
            QVERIFY2(statement.closed(), statement.why());
            QCOMPARE(statement.seen().texts, expectSelected ? fromFunds : onTop);
            QCOMPARE(selected(&window), expectSelected);
            QCOMPARE(record.FeeCovered, Integer(expectSelected ? -1 : 0));
        }
    }

    // Through the main menu: each opening starts afresh, but the option's memory
    // lives on in the record.
    void reopeningFromTheMainMenu()
    {
        CalcRecord record;
        frmmain menu(record);
        QVERIFY(showAndActivate(&menu));

        ModalWatch first({}, [](QWidget* window, ModalSeen& seen) {
            pressAndRelease(option(window), Qt::LeftButton);
            typeAll(window, kBoxes, {"10000", "10000", "3", "5"});
            seen.inner << pressAndWatch(window, QStringLiteral("cmdCalc"), kFigures);
            click(window, QStringLiteral("cmdCancel"));
        });
        click(&menu, QStringLiteral("cmdBuy"));
        QVERIFY2(first.closed(), first.why());
        QCOMPARE(first.seen().name, QStringLiteral("frmBuy"));
        QCOMPARE(first.seen().inner.size(), 1);
        QCOMPARE(first.seen().inner.first().texts, (QStringList{"9694", "9694", "305", "10000"}));
        QCOMPARE(record.FeeCovered, Integer(-1));
        QCOMPARE(record.IM, Integer(10000));

        ModalWatch second(kBoxes, [](QWidget* window, ModalSeen& seen) {
            seen.notes["selected at opening"] = selected(window);
            // The mark is drawn only once the window is active, which a loaded machine
            // may report after the window is already shown.
            seen.notes["active"] = QTest::qWaitForWindowActive(window);
            const QImage focused = option(window)->grab().toImage();
            child<QWidget>(window, QStringLiteral("txtIM"))->setFocus(Qt::OtherFocusReason);
            seen.notes["focus mark at opening"] = option(window)->grab().toImage() != focused;
            option(window)->setFocus(Qt::OtherFocusReason);
            pressAndRelease(option(window), Qt::LeftButton);
            seen.notes["after one release"] = selected(window);
            pressAndRelease(option(window), Qt::LeftButton);
            seen.notes["after two releases"] = selected(window);
            window->close(); // the close box
        });
        click(&menu, QStringLiteral("cmdBuy"));
        QVERIFY2(second.closed(), second.why());
        QCOMPARE(second.seen().texts, (QStringList{"0", "0", "3", "5"}));
        QCOMPARE(second.seen().focus, QStringLiteral("optChoice"));
        QCOMPARE(second.seen().notes.value("selected at opening"), QVariant(false));
        QCOMPARE(second.seen().notes.value("active"), QVariant(true));
        QCOMPARE(second.seen().notes.value("focus mark at opening"), QVariant(true));
        QCOMPARE(second.seen().notes.value("after one release"), QVariant(false));
        QCOMPARE(second.seen().notes.value("after two releases"), QVariant(true));
        QCOMPARE(record.FeeCovered, Integer(-1));
        menu.close();
    }
};

#include "test_main.h"
MIROVEN_TEST_MAIN(PurchaseWindowTest)
#include "tst_purchase_window.moc"
