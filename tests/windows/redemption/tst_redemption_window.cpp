#include "app/application_setup.h"
#include "app/main_window.h"
#include "windows/redemption/redemption_statement_window.h"
#include "windows/redemption/redemption_window.h"
#include "core/calc_record.h"
#include "support/controls.h"
#include "support/layout.h"
#include "support/modal.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QtTest>

using namespace support;
using Kind = Control::Kind;

namespace {

const QStringList kBoxes{"txtCBL", "txtNBL", "txtOA", "txtFee"};
const QStringList kFigures{"lblIM", "lblTax", "lblFee", "lblGain"};

} // namespace

class RedemptionWindowTest : public QObject {
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
            {.kind = Kind::Window, .name = "frmWithdraw", .text = "Miroven-解約", .at = {2385, 3540},
             .size = {4785, 1680}, .tabStops = 6},
            {.kind = Kind::Box, .name = "txtCBL", .text = "0", .at = {2280, 120},
             .size = {1095, 270}, .tab = 0},
            {.kind = Kind::Box, .name = "txtNBL", .text = "0", .at = {2280, 480},
             .size = {1095, 270}, .tab = 1},
            {.kind = Kind::Box, .name = "txtOA", .text = "0", .at = {2280, 840},
             .size = {1095, 270}, .tab = 2},
            {.kind = Kind::Box, .name = "txtFee", .text = "0.3", .at = {2280, 1200},
             .size = {615, 270}, .tab = 3, .rightAligned = true},
            {.kind = Kind::Button, .name = "cmdCalc", .text = "計算", .at = {3600, 120},
             .size = {1095, 375}, .tab = 4},
            {.kind = Kind::Button, .name = "cmdCancel", .text = "終了", .at = {3600, 600},
             .size = {1095, 375}, .tab = 5},
            {.kind = Kind::Caption, .name = "Label1", .text = "元本の基準価額", .at = {240, 120},
             .tooltip = "10,000口当たりの基準価額を入力してください"},
            {.kind = Kind::Caption, .name = "Label2", .text = "現在の基準価額", .at = {240, 480},
             .tooltip = "10,000口当たりの現在の基準価額を入力してください"},
            {.kind = Kind::Caption, .name = "Label3", .text = "所有口数", .at = {240, 840},
             .tooltip = "解約時の所有口数を入力して下さい"},
            {.kind = Kind::Caption, .name = "Label4", .text = "信託留保(%)", .at = {240, 1200},
             .tooltip = "信託留保率を％で入力してください"},
        });
    }
    void inputWindow()
    {
        CalcRecord record;
        frmWithdraw window(record);
        checkControl(&window);
    }

    void statementWindow_data()
    {
        addControlRows({
            {.kind = Kind::Window, .name = "frmWithdrawShow", .text = "Miroven-解約明細",
             .at = {2385, 5625}, .size = {3930, 1680}, .tabStops = 1},
            {.kind = Kind::Caption, .name = "Label1", .text = "評価額", .at = {240, 120}},
            {.kind = Kind::Value, .name = "lblIM", .text = "1", .at = {1080, 120},
             .size = {1335, 255}, .describedAs = "評価額"},
            {.kind = Kind::Button, .name = "cmdOK", .text = "OK", .at = {2760, 120},
             .size = {975, 375}, .tab = 0},
            {.kind = Kind::Caption, .name = "Label2", .text = "税金", .at = {240, 480}},
            {.kind = Kind::Value, .name = "lblTax", .text = "-2", .at = {1080, 480},
             .size = {1335, 255}, .describedAs = "税金"},
            {.kind = Kind::Caption, .name = "Label3", .text = "信託留保額", .at = {0, 840}},
            {.kind = Kind::Value, .name = "lblFee", .text = "3", .at = {1080, 840},
             .size = {1335, 255}, .describedAs = "信託留保額"},
            {.kind = Kind::Rule, .name = "Line1", .at = {0, 1200}, .size = {2400, 0}},
            {.kind = Kind::Caption, .name = "Label4", .text = "手取り現金", .at = {0, 1320}},
            {.kind = Kind::Value, .name = "lblGain", .text = "40000", .at = {1080, 1320},
             .size = {1335, 255}, .describedAs = "手取り現金"},
        });
    }
    void statementWindow()
    {
        frmWithdrawShow statement(shownFigures(kRedemptionStatement, RedemptionFigures{1, -2, 3, 40000}));
        checkControl(&statement);
    }

    // Esc is no cancel key; Space presses the focused "OK", which closes the statement.
    void statementKeys()
    {
        frmWithdrawShow statement(shownFigures(kRedemptionStatement, RedemptionFigures{1, 2, 3, 4}));
        QVERIFY(showAndActivate(&statement));
        QTest::keyClick(statement.focusWidget(), Qt::Key_Escape);
        QVERIFY(statement.isVisible());
        QCOMPARE(focusName(&statement), QStringLiteral("cmdOK"));
        QTest::keyClick(statement.focusWidget(), Qt::Key_Space);
        QVERIFY(!statement.isVisible());
    }

    // "計算" with what the user typed: the statement, or a message with the focus on
    // the refused box. The entries stay as typed either way.
    void calculate_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("focus");

        const QStringList fresh{"0", "0", "0", "0.3"};
        const int warning = QMessageBox::Warning;
        QTest::newRow("gain of 20 percent") << QStringList{"10000", "12000", "100000", "0.3"}
            << QStringList{"120000", "3928", "360", "115712"} << "" << -1 << "";
        QTest::newRow("fractions floored") << QStringList{"10000", "10123", "12345", "0.3"}
            << QStringList{"12496", "23", "37", "12436"} << "" << -1 << "";
        QTest::newRow("cash 1010.5 shown 1010") << QStringList{"10000", "10125", "1000", "0"}
            << QStringList{"1012", "2", "0", "1010"} << "" << -1 << "";
        QTest::newRow("full-width and separators") << QStringList{"１０，０００", "12,000", "１０００００", "０．３"}
            << QStringList{"120000", "3928", "360", "115712"} << "" << -1 << "";
        QTest::newRow("fresh window") << fresh << QStringList{}
            << "元本の基準価額が入力されていません" << int(QMessageBox::NoIcon) << "txtCBL";
        QTest::newRow("principal NAV beyond Integer") << QStringList{"40000", "12000", "100000", "0.3"}
            << QStringList{} << "元本の基準価額には -32768 から 32767 までの数値を入力してください"
            << warning << "txtCBL";
        QTest::newRow("current NAV with yen") << QStringList{"10000", "12,000円", "100000", "0.3"}
            << QStringList{} << "現在の基準価額には数値を入力してください" << warning << "txtNBL";
        QTest::newRow("units not a number") << QStringList{"10000", "12000", "abc", "0.3"}
            << QStringList{} << "所有口数には数値を入力してください" << warning << "txtOA";
        QTest::newRow("rate emptied") << QStringList{"10000", "12000", "100000", ""} << QStringList{}
            << "信託留保(%)が入力されていません" << int(QMessageBox::NoIcon) << "txtFee";
        QTest::newRow("tax of 39280") << QStringList{"10000", "12000", "1000000", "0.3"}
            << QStringList{} << "税金が計算できる範囲を超えています" << warning << "";
    }
    void calculate()
    {
        QFETCH(QStringList, typed);
        QFETCH(QStringList, shown);
        QFETCH(QString, message);
        QFETCH(int, icon);
        QFETCH(QString, focus);

        CalcRecord record;
        frmWithdraw window(record);
        QVERIFY(showAndActivate(&window));
        typeAll(&window, kBoxes, typed);

        ModalWatch opened(kFigures);
        click(&window, QStringLiteral("cmdCalc"));
        QVERIFY2(opened.closed(), opened.why());
        if (message.isEmpty()) {
            QCOMPARE(opened.seen().name, QStringLiteral("frmWithdrawShow"));
            QCOMPARE(opened.seen().texts, shown);
            QCOMPARE(opened.seen().focus, QStringLiteral("cmdOK"));
        } else {
            QCOMPARE(opened.seen().className, QStringLiteral("QMessageBox"));
            QCOMPARE(opened.seen().text, message);
            QCOMPARE(opened.seen().title, QStringLiteral("Miroven"));
        }
        QCOMPARE(opened.seen().icon, icon);
        if (!focus.isEmpty()) {
            // The window gives the focus back to this box whenever it is active again.
            auto* refused = child<QLineEdit>(&window, focus);
            QVERIFY(refused);
            QCOMPARE(window.focusWidget(), refused);
            QCOMPARE(refused->selectedText(), refused->text());
        }
        QCOMPARE(textsOf(&window, kBoxes), typed);
        QVERIFY(window.isVisible());
        window.close();
    }

    void fromMainMenuTwiceInARow()
    {
        CalcRecord record;
        frmmain menu(record);
        QVERIFY(showAndActivate(&menu));

        // Two calculations in one opening: each statement shows only its own figures.
        ModalWatch input({}, [](QWidget* window, ModalSeen& seen) {
            typeAll(window, kBoxes, {"10000", "12000", "100000", "0.3"});
            seen.inner << pressAndWatch(window, QStringLiteral("cmdCalc"), kFigures);
            typeAll(window, kBoxes, {"10000", "10123", "12345", "0.3"});
            seen.inner << pressAndWatch(window, QStringLiteral("cmdCalc"), kFigures);
            click(window, QStringLiteral("cmdCancel"));
        });
        click(&menu, QStringLiteral("cmdSell"));
        QVERIFY2(input.closed(), input.why());
        QCOMPARE(input.seen().name, QStringLiteral("frmWithdraw"));
        QCOMPARE(input.seen().inner.size(), 2);
        QCOMPARE(input.seen().inner.at(0).texts, (QStringList{"120000", "3928", "360", "115712"}));
        QCOMPARE(input.seen().inner.at(1).texts, (QStringList{"12496", "23", "37", "12436"}));

        // The next opening starts from the initial texts; its close box closes it.
        ModalWatch reopened(kBoxes, ModalWatch::closeBox());
        click(&menu, QStringLiteral("cmdSell"));
        QVERIFY2(reopened.closed(), reopened.why());
        QCOMPARE(reopened.seen().texts, (QStringList{"0", "0", "0", "0.3"}));
        menu.close();
    }
};

#include "test_main.h"
MIROVEN_TEST_MAIN(RedemptionWindowTest)
#include "tst_redemption_window.moc"
