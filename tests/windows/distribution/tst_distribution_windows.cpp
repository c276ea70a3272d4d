#include "windows/distribution/distribution_statement_window.h"
#include "windows/distribution/distribution_window.h"

#include "app/application_setup.h"
#include "app/main_window.h"
#include "core/calc_record.h"
#include "support/controls.h"
#include "support/layout.h"
#include "support/modal.h"
#include "widgets/twips.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QtTest>

using namespace support;
using Kind = Control::Kind;

namespace {

const QStringList kBoxes = {"txtCBL", "txtNBL", "txtDiv", "txtOA"};
// The statement's five figures, top to bottom.
const QStringList kFigures = {"lblDiv1", "lblDiv2", "lblTax", "lblDiv3", "lblCBL"};

} // namespace

class DistributionWindowsTest : public QObject {
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
            {.kind = Kind::Window, .name = "frmDiv", .text = "Miroven-分配", .at = {2385, 3510},
             .size = {4680, 1575}, .tabStops = 6, .maximizeBox = true},
            {.kind = Kind::Box, .name = "txtCBL", .text = "0", .at = {1920, 120},
             .size = {1215, 270}, .tab = 0},
            {.kind = Kind::Box, .name = "txtNBL", .text = "0", .at = {1920, 480},
             .size = {1215, 270}, .tab = 1},
            {.kind = Kind::Box, .name = "txtDiv", .text = "0", .at = {1920, 840},
             .size = {1215, 270}, .tab = 2},
            {.kind = Kind::Box, .name = "txtOA", .text = "0", .at = {1920, 1200},
             .size = {1215, 270}, .tab = 3},
            {.kind = Kind::Button, .name = "cmdCalc", .text = "計算", .at = {3480, 120},
             .size = {1095, 375}, .tab = 4},
            {.kind = Kind::Button, .name = "cmdCancel", .text = "終了", .at = {3480, 600},
             .size = {1095, 375}, .tab = 5},
            {.kind = Kind::Caption, .name = "Label1", .text = "元本の基準価額", .at = {240, 120},
             .tooltip = "10,000口当たりの元本の基準価額を入力してください"},
            {.kind = Kind::Caption, .name = "Label2", .text = "分配後の基準価額", .at = {240, 480},
             .tooltip = "10,000口当たりの分配後基準価額です"},
            {.kind = Kind::Caption, .name = "Label3", .text = "分配金", .at = {240, 840},
             .tooltip = "分配金を入力してください"},
            {.kind = Kind::Caption, .name = "Label4", .text = "所有口数", .at = {240, 1200},
             .tooltip = "分配時に所有している口数です"},
        });
    }
    void inputWindow()
    {
        CalcRecord record;
        frmDiv window(record);
        checkControl(&window);
    }

    void statementWindow_data()
    {
        addControlRows({
            {.kind = Kind::Window, .name = "frmDivShow", .text = "Miroven-解約明細",
             .at = {2415, 5490}, .size = {4680, 2115}, .tabStops = 1, .maximizeBox = true},
            {.kind = Kind::Value, .name = "lblDiv1", .text = "1", .at = {1800, 120},
             .size = {1335, 255}, .describedAs = "課税分配金"},
            {.kind = Kind::Value, .name = "lblDiv2", .text = "2", .at = {1800, 480},
             .size = {1335, 255}, .describedAs = "非課税分配金"},
            {.kind = Kind::Value, .name = "lblTax", .text = "3", .at = {1800, 840},
             .size = {1335, 255}, .describedAs = "税金"},
            {.kind = Kind::Value, .name = "lblDiv3", .text = "4", .at = {1800, 1320},
             .size = {1335, 255}, .describedAs = "手取分配金"},
            {.kind = Kind::Value, .name = "lblCBL", .text = "5", .at = {3120, 1680},
             .size = {1335, 255}, .describedAs = "（分配後元本基準価額）"},
            {.kind = Kind::Button, .name = "cmdOK", .text = "OK", .at = {3480, 240},
             .size = {975, 375}, .tab = 0},
            {.kind = Kind::Caption, .name = "Label1", .text = "課税分配金", .at = {360, 120}},
            {.kind = Kind::Caption, .name = "Label2", .text = "非課税分配金", .at = {360, 480}},
            {.kind = Kind::Caption, .name = "Label3", .text = "税金", .at = {360, 840}},
            {.kind = Kind::Caption, .name = "Label4", .text = "手取分配金", .at = {360, 1320}},
            {.kind = Kind::Caption, .name = "Label5", .text = "（分配後元本基準価額）",
             .at = {1080, 1680}},
            {.kind = Kind::Rule, .name = "Line1", .at = {240, 1200}, .size = {2880, 0}},
        });
    }
    void statementWindow()
    {
        frmDivShow statement(shownFigures(kDistributionStatement, DistributionFigures{1, 2, 3, 4, 5}));
        checkControl(&statement);
    }

    // Esc is no cancel key; a click on "OK" closes the statement.
    void statementKeys()
    {
        frmDivShow statement(shownFigures(kDistributionStatement, DistributionFigures{1, 2, 3, 4, 5}));
        QVERIFY(showAndActivate(&statement));
        QTest::keyClick(&statement, Qt::Key_Escape);
        QVERIFY(statement.isVisible());
        click(&statement, QStringLiteral("cmdOK"));
        QVERIFY(!statement.isVisible());
    }

    void sizeChangeMovesNothing()
    {
        CalcRecord record;
        frmDiv window(record);
        QVERIFY(showAndActivate(&window));
        QList<QRect> before;
        const QList<QWidget*> controls = window.findChildren<QWidget*>();
        for (QWidget* w : controls)
            before << w->geometry();
        window.resize(window.width() * 2, window.height() * 3);
        QTRY_COMPARE(window.width(), twips(4680) * 2);
        for (int i = 0; i < controls.size(); ++i)
            QCOMPARE(controls[i]->geometry(), before[i]);
        window.close();
    }

    void statementShown_data()
    {
        QTest::addColumn<QStringList>("inputs");  // CBL, NBL, Div, OA as typed
        QTest::addColumn<QStringList>("figures"); // lblDiv1, lblDiv2, lblTax, lblDiv3, lblCBL
        QTest::newRow("Div 1000 above principal") << QStringList{"10000", "10500", "1000", "100000"}
                                                  << QStringList{"1000", "0", "200", "800", "10000"};
        QTest::newRow("Div -7 above principal")
            << QStringList{"10000", "10500", "-7", "100000"} << QStringList{"-7", "0", "-1", "-6", "10000"};
        QTest::newRow("below principal: split") << QStringList{"10000", "9950", "1000", "100000"}
                                                << QStringList{"500", "500", "100", "900", "9950"};
        QTest::newRow("full-width digits and grouping")
            << QStringList{"１０，０００", " 10,500 ", "１,２３４", "１００000"}
            << QStringList{"1234", "0", "247", "987", "10000"};
    }
    void statementShown()
    {
        QFETCH(QStringList, inputs);
        QFETCH(QStringList, figures);

        CalcRecord record;
        frmDiv window(record);
        QVERIFY(showAndActivate(&window));
        typeAll(&window, kBoxes, inputs);
        ModalWatch statement(kFigures);
        click(&window, QStringLiteral("cmdCalc"));
        QVERIFY2(statement.closed(), statement.why());
        QCOMPARE(statement.seen().name, QStringLiteral("frmDivShow"));
        QCOMPARE(statement.seen().texts, figures);
        QCOMPARE(statement.seen().focus, QStringLiteral("cmdOK"));
        // The window is still open, with exactly what was typed.
        QVERIFY(window.isVisible());
        QCOMPARE(textsOf(&window, kBoxes), inputs);
        window.close();
    }

    void recalculationReadsAnew()
    {
        CalcRecord record;
        frmDiv window(record);
        QVERIFY(showAndActivate(&window));
        typeAll(&window, kBoxes, {"10000", "10500", "1000", "100000"});
        ModalWatch first(kFigures);
        click(&window, QStringLiteral("cmdCalc"));
        QVERIFY2(first.closed(), first.why());
        QCOMPARE(first.seen().texts, (QStringList{"1000", "0", "200", "800", "10000"}));

        typeInto(&window, QStringLiteral("txtDiv"), QStringLiteral("1234"));
        ModalWatch second(kFigures);
        click(&window, QStringLiteral("cmdCalc"));
        QVERIFY2(second.closed(), second.why());
        QCOMPARE(second.seen().texts, (QStringList{"1234", "0", "247", "987", "10000"}));
        QCOMPARE(int(record.TaxableDiv), 1234);
        QCOMPARE(int(record.Tax), 247);
        window.close();
    }

    void refusedOrMissing_data()
    {
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("focusBox"); // the box given the focus, or none
        const int none = QMessageBox::NoIcon;
        const int warning = QMessageBox::Warning;
        QTest::newRow("fresh window: code 5")
            << QStringList{"0", "0", "0", "0"} << "元本の基準価額が入力されていません" << none << "txtCBL";
        QTest::newRow("code 6") << QStringList{"10000", "0", "0", "0"}
                                << "分配後の基準価額が入力されていません" << none << "txtNBL";
        QTest::newRow("code 7") << QStringList{"10000", "10500", "0", "0"} << "分配金が入力されていません"
                                << none << "txtDiv";
        QTest::newRow("code 8") << QStringList{"10000", "10500", "1000", "0"}
                                << "所有口数が入力されていません" << none << "txtOA";
        QTest::newRow("empty NAV after") << QStringList{"10000", "", "1000", "100"}
                                         << "分配後の基準価額が入力されていません" << none << "txtNBL";
        QTest::newRow("text in the distribution")
            << QStringList{"10000", "10500", "千円", "100"} << "分配金には数値を入力してください" << warning
            << "txtDiv";
        QTest::newRow("principal NAV out of range")
            << QStringList{"40000", "10500", "1000", "100"}
            << "元本の基準価額には -32768 から 32767 までの数値を入力してください" << warning << "txtCBL";
        QTest::newRow("units too large") << QStringList{"10000", "10500", "1000", "99999999999999999"}
                                         << "所有口数の数値が大きすぎます" << warning << "txtOA";
        QTest::newRow("holding value beyond range")
            << QStringList{"10000", "9800", "500", "1000000000000"}
            << "非課税分配金が計算できる範囲を超えています" << warning << "";
    }
    void refusedOrMissing()
    {
        QFETCH(QStringList, inputs);
        QFETCH(QString, message);
        QFETCH(int, icon);
        QFETCH(QString, focusBox);

        CalcRecord record;
        record.TaxableDiv = 77;
        record.Tax = 7;
        frmDiv window(record);
        QVERIFY(showAndActivate(&window));
        typeAll(&window, kBoxes, inputs);

        ModalWatch refusal;
        click(&window, QStringLiteral("cmdCalc"));
        QVERIFY2(refusal.closed(), refusal.why());
        QCOMPARE(refusal.seen().className, QStringLiteral("QMessageBox"));
        QCOMPARE(refusal.seen().text, message);
        QCOMPARE(refusal.seen().title, QStringLiteral("Miroven"));
        QCOMPARE(refusal.seen().icon, icon);

        QVERIFY(window.isVisible());
        QCOMPARE(textsOf(&window, kBoxes), inputs);
        QCOMPARE(int(record.TaxableDiv), 77);
        QCOMPARE(int(record.Tax), 7);
        if (!focusBox.isEmpty()) {
            auto* box = child<QLineEdit>(&window, focusBox);
            QVERIFY(box);
            QCOMPARE(window.focusWidget(), box);
            QCOMPARE(box->selectedText(), box->text());
        }
        window.close();
    }

    // From the main menu: the calculation, its statement, "終了"; then a fresh opening.
    void fromMainMenu()
    {
        CalcRecord record;
        frmmain menu(record);
        QVERIFY(showAndActivate(&menu));

        ModalWatch input({}, [](QWidget* window, ModalSeen& seen) {
            typeAll(window, kBoxes, {"10000", "9800", "500", "100000"});
            seen.inner << pressAndWatch(window, QStringLiteral("cmdCalc"), kFigures);
            seen.notes["kept"] = textsOf(window, kBoxes);
            click(window, QStringLiteral("cmdCancel"));
        });
        click(&menu, QStringLiteral("cmdDev"));
        QVERIFY2(input.closed(), input.why());
        QCOMPARE(input.seen().name, QStringLiteral("frmDiv"));
        QCOMPARE(input.seen().focus, QStringLiteral("txtCBL"));
        QCOMPARE(input.seen().inner.size(), 1);
        QCOMPARE(input.seen().inner.first().texts, (QStringList{"0", "500", "0", "500", "9800"}));
        QCOMPARE(input.seen().notes.value("kept").toStringList(),
                 (QStringList{"10000", "9800", "500", "100000"}));
        QCOMPARE(int(record.CBL), 10000);
        QCOMPARE(int(record.NBL), 9800);
        QCOMPARE(int(record.Div), 500);
        QCOMPARE(record.OA, Currency::fromRaw(100000LL * 10000));
        QCOMPARE(int(record.TaxableDiv), 0);
        QCOMPARE(int(record.Tax), 0);

        // Opened again, it starts from "0" everywhere; its close box closes it.
        ModalWatch reopened(kBoxes, ModalWatch::closeBox());
        click(&menu, QStringLiteral("cmdDev"));
        QVERIFY2(reopened.closed(), reopened.why());
        QCOMPARE(reopened.seen().texts, (QStringList{"0", "0", "0", "0"}));
        menu.close();
    }
};

#include "test_main.h"
MIROVEN_TEST_MAIN(DistributionWindowsTest)
#include "tst_distribution_windows.moc"
