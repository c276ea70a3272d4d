#include "calc/distribution/distribution_statement_window.h"
#include "calc/distribution/distribution_window.h"

#include "app/application_setup.h"
#include "app/main_window.h"
#include "core/calc_record.h"
#include "support/modal.h"
#include "widgets/twips.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

namespace {

template <class T = QWidget> T* child(const QWidget* window, const QString& name)
{
    auto* found = window->findChild<T*>(name);
    if (!found)
        qFatal("%s has no %s", qPrintable(window->objectName()), qPrintable(name));
    return found;
}

const QStringList kBoxes = {"txtCBL", "txtNBL", "txtDiv", "txtOA"};

// Replaces a box's text by typing, as a user would.
void typeInto(QLineEdit* box, const QString& text)
{
    box->setFocus();
    box->selectAll();
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Delete);
    // keyClicks only knows Latin-1; full-width digits arrive as key text of their own.
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void typeAll(const QWidget* window, const QStringList& texts)
{
    for (int i = 0; i < kBoxes.size(); ++i)
        typeInto(child<QLineEdit>(window, kBoxes[i]), texts[i]);
}

QStringList boxTexts(const QWidget* window)
{
    QStringList texts;
    for (const QString& name : kBoxes)
        texts << child<QLineEdit>(window, name)->text();
    return texts;
}

// The statement's five figures top to bottom.
QStringList statementFigures(const QWidget* statement)
{
    QStringList figures;
    for (const char* name : {"lblDiv1", "lblDiv2", "lblTax", "lblDiv3", "lblCBL"})
        figures << child<QLabel>(statement, QString::fromLatin1(name))->text();
    return figures;
}

// Presses "計算" and returns the figures of the statement it opens, closed with "OK".
QStringList calculateAndReadStatement(QWidget* window)
{
    QStringList figures;
    whenModalAppears([&figures](QWidget* modal) {
        if (modal->objectName() != QLatin1String("frmDivShow")) {
            qWarning("expected the statement, got %s", qPrintable(modal->objectName()));
            modal->close();
            return;
        }
        figures = statementFigures(modal);
        QTest::mouseClick(child(modal, QStringLiteral("cmdOK")), Qt::LeftButton);
    });
    QTest::mouseClick(child(window, QStringLiteral("cmdCalc")), Qt::LeftButton);
    return figures;
}

// Widgets a Tab press can reach, in the order it reaches them.
QStringList tabOrder(QWidget* window)
{
    QStringList names;
    QWidget* w = window;
    while ((w = w->nextInFocusChain()) != window) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled())
            names << w->objectName();
    }
    return names;
}

} // namespace

class DistributionWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // The program's own font setting, so captions measure as the user sees them.
        setUpApplication(*qApp);
    }

    void cleanup() { QTRY_COMPARE(visibleTopLevelCount(), 0); }

    void inputControls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twipsRect");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("toolTip");
        QTest::newRow("txtCBL") << "txtCBL" << QRect(1920, 120, 1215, 270) << "0"
                                << "";
        QTest::newRow("txtNBL") << "txtNBL" << QRect(1920, 480, 1215, 270) << "0"
                                << "";
        QTest::newRow("txtDiv") << "txtDiv" << QRect(1920, 840, 1215, 270) << "0"
                                << "";
        QTest::newRow("txtOA") << "txtOA" << QRect(1920, 1200, 1215, 270) << "0"
                               << "";
        QTest::newRow("cmdCalc") << "cmdCalc" << QRect(3480, 120, 1095, 375) << "計算"
                                 << "";
        QTest::newRow("cmdCancel") << "cmdCancel" << QRect(3480, 600, 1095, 375) << "終了"
                                   << "";
        // Caption labels size themselves: only their place is fixed (empty size).
        QTest::newRow("Label1") << "Label1" << QRect(240, 120, 0, 0) << "元本の基準価額"
                                << "10,000口当たりの元本の基準価額を入力してください";
        QTest::newRow("Label2") << "Label2" << QRect(240, 480, 0, 0) << "分配後の基準価額"
                                << "10,000口当たりの分配後基準価額です";
        QTest::newRow("Label3") << "Label3" << QRect(240, 840, 0, 0) << "分配金"
                                << "分配金を入力してください";
        QTest::newRow("Label4") << "Label4" << QRect(240, 1200, 0, 0) << "所有口数"
                                << "分配時に所有している口数です";
    }
    void inputControls()
    {
        QFETCH(QString, name);
        QFETCH(QRect, twipsRect);
        QFETCH(QString, text);
        QFETCH(QString, toolTip);

        CalcRecord record;
        frmDiv window(record);
        QWidget* w = child(&window, name);
        const QRect expected =
            ::twipsRect(twipsRect.x(), twipsRect.y(), twipsRect.width(), twipsRect.height());
        if (twipsRect.isEmpty()) {
            QCOMPARE(w->pos(), expected.topLeft());
            // Sized to its text, it must end before the boxes start.
            QCOMPARE(w->size(), w->sizeHint());
            QVERIFY(w->geometry().right() < twips(1920));
        } else {
            QCOMPARE(w->geometry(), expected);
        }
        QCOMPARE(w->property("text").toString(), text);
        QCOMPARE(w->toolTip(), toolTip);
    }

    void inputWindow()
    {
        CalcRecord record;
        frmDiv window(record);
        QCOMPARE(window.objectName(), QStringLiteral("frmDiv"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Miroven-分配"));
        QVERIFY(!window.windowIcon().isNull());
        QVERIFY(window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(window.windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QCOMPARE(window.geometry(), twipsRect(2385, 3510, 4680, 1575));

        QCOMPARE(tabOrder(&window),
                 (QStringList{"txtCBL", "txtNBL", "txtDiv", "txtOA", "cmdCalc", "cmdCancel"}));
        for (const QString& name : kBoxes) {
            auto* box = child<QLineEdit>(&window, name);
            QVERIFY2(!box->testAttribute(Qt::WA_InputMethodEnabled), qPrintable(name));
            QCOMPARE(box->maxLength(), 32767); // no limit of our own
        }
        for (const char* name : {"cmdCalc", "cmdCancel"}) {
            auto* button = child<QPushButton>(&window, QString::fromLatin1(name));
            QVERIFY(!button->isDefault() && !button->autoDefault());
        }

        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.focusWidget(), child(&window, QStringLiteral("txtCBL")));
    }

    void sizeChangeMovesNothing()
    {
        CalcRecord record;
        frmDiv window(record);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
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
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        typeAll(&window, inputs);
        QCOMPARE(calculateAndReadStatement(&window), figures);
        // The window is still open, with exactly what was typed.
        QVERIFY(window.isVisible());
        QCOMPARE(boxTexts(&window), inputs);
        window.close();
    }

    void recalculationReadsAnew()
    {
        CalcRecord record;
        frmDiv window(record);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        typeAll(&window, {"10000", "10500", "1000", "100000"});
        QCOMPARE(calculateAndReadStatement(&window), (QStringList{"1000", "0", "200", "800", "10000"}));
        typeInto(child<QLineEdit>(&window, QStringLiteral("txtDiv")), QStringLiteral("1234"));
        QCOMPARE(calculateAndReadStatement(&window), (QStringList{"1234", "0", "247", "987", "10000"}));
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
            << QStringList{"0", "0", "0", "0"} << "元本の基準価額が入力されていません" << none << "";
        QTest::newRow("code 6") << QStringList{"10000", "0", "0", "0"}
                                << "分配後の基準価額が入力されていません" << none << "";
        QTest::newRow("code 7") << QStringList{"10000", "10500", "0", "0"} << "分配金が入力されていません"
                                << none << "";
        QTest::newRow("code 8") << QStringList{"10000", "10500", "1000", "0"}
                                << "所有口数が入力されていません" << none << "";
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
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        typeAll(&window, inputs);
        child(&window, QStringLiteral("cmdCalc"))->setFocus();

        QString text;
        QString title;
        int shownIcon = -1;
        dismissNextMessage(&text, &title, &shownIcon);
        QTest::mouseClick(child(&window, QStringLiteral("cmdCalc")), Qt::LeftButton);
        QCOMPARE(text, message);
        QCOMPARE(title, QStringLiteral("Miroven"));
        QCOMPARE(shownIcon, icon);

        QVERIFY(window.isVisible());
        QCOMPARE(boxTexts(&window), inputs);
        QCOMPARE(int(record.TaxableDiv), 77);
        QCOMPARE(int(record.Tax), 7);
        if (!focusBox.isEmpty()) {
            auto* box = child<QLineEdit>(&window, focusBox);
            QCOMPARE(window.focusWidget(), box);
            QCOMPARE(box->selectedText(), box->text());
        }
        window.close();
    }

    void statementControls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twipsRect");
        QTest::addColumn<QString>("text");
        QTest::newRow("lblDiv1") << "lblDiv1" << QRect(1800, 120, 1335, 255) << "1";
        QTest::newRow("lblDiv2") << "lblDiv2" << QRect(1800, 480, 1335, 255) << "2";
        QTest::newRow("lblTax") << "lblTax" << QRect(1800, 840, 1335, 255) << "3";
        QTest::newRow("lblDiv3") << "lblDiv3" << QRect(1800, 1320, 1335, 255) << "4";
        QTest::newRow("lblCBL") << "lblCBL" << QRect(3120, 1680, 1335, 255) << "5";
        QTest::newRow("cmdOK") << "cmdOK" << QRect(3480, 240, 975, 375) << "OK";
        QTest::newRow("Label1") << "Label1" << QRect(360, 120, 0, 0) << "課税分配金";
        QTest::newRow("Label2") << "Label2" << QRect(360, 480, 0, 0) << "非課税分配金";
        QTest::newRow("Label3") << "Label3" << QRect(360, 840, 0, 0) << "税金";
        QTest::newRow("Label4") << "Label4" << QRect(360, 1320, 0, 0) << "手取分配金";
        QTest::newRow("Label5") << "Label5" << QRect(1080, 1680, 0, 0) << "（分配後元本基準価額）";
    }
    void statementControls()
    {
        QFETCH(QString, name);
        QFETCH(QRect, twipsRect);
        QFETCH(QString, text);

        frmDivShow statement({1, 2, 3, 4, 5});
        QWidget* w = child(&statement, name);
        const QRect expected =
            ::twipsRect(twipsRect.x(), twipsRect.y(), twipsRect.width(), twipsRect.height());
        if (twipsRect.isEmpty()) {
            QCOMPARE(w->pos(), expected.topLeft());
            QCOMPARE(w->size(), w->sizeHint());
        } else {
            QCOMPARE(w->geometry(), expected);
        }
        QCOMPARE(w->property("text").toString(), text);
        QCOMPARE(w->focusPolicy() != Qt::NoFocus, name == QLatin1String("cmdOK"));
    }

    void statementWindow()
    {
        frmDivShow statement({1, 2, 3, 4, 5});
        QCOMPARE(statement.objectName(), QStringLiteral("frmDivShow"));
        QCOMPARE(statement.windowTitle(), QStringLiteral("Miroven-解約明細"));
        QVERIFY(!statement.windowIcon().isNull());
        QVERIFY(statement.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QCOMPARE(statement.geometry(), twipsRect(2415, 5490, 4680, 2115));
        QCOMPARE(child(&statement, QStringLiteral("Line1"))->geometry(),
                 QRect(twips(240), twips(1200), twips(3120) - twips(240), 1));
        // Captions end before their figures' white fields begin.
        for (const char* name : {"Label1", "Label2", "Label3", "Label4"})
            QVERIFY2(child(&statement, QString::fromLatin1(name))->geometry().right() < twips(1800), name);
        QVERIFY(child(&statement, QStringLiteral("Label5"))->geometry().right() < twips(3120));
        for (const char* name : {"lblDiv1", "lblDiv2", "lblTax", "lblDiv3", "lblCBL"}) {
            auto* label = child<QLabel>(&statement, QString::fromLatin1(name));
            QVERIFY(label->autoFillBackground());
            QCOMPARE(label->minimumSize(), label->maximumSize());
            QVERIFY(label->alignment().testFlag(Qt::AlignLeft));
        }
        QVERIFY(!child<QPushButton>(&statement, QStringLiteral("cmdOK"))->autoDefault());

        statement.show();
        QVERIFY(QTest::qWaitForWindowExposed(&statement));
        QCOMPARE(statement.focusWidget(), child(&statement, QStringLiteral("cmdOK")));
        QTest::keyClick(&statement, Qt::Key_Escape);
        QVERIFY(statement.isVisible());
        QTest::mouseClick(child(&statement, QStringLiteral("cmdOK")), Qt::LeftButton);
        QVERIFY(!statement.isVisible());
    }

    // From the main menu: the calculation, its statement, "終了"; then a fresh opening.
    void fromMainMenu()
    {
        CalcRecord record;
        frmmain menu(record);
        menu.show();
        QVERIFY(QTest::qWaitForWindowExposed(&menu));

        QStringList figures;
        QStringList keptTexts;
        QString focusAtOpening;
        whenModalAppears([&](QWidget* window) {
            focusAtOpening = window->focusWidget() ? window->focusWidget()->objectName() : QString();
            if (window->objectName() != QLatin1String("frmDiv")) {
                window->close();
                return;
            }
            typeAll(window, {"10000", "9800", "500", "100000"});
            figures = calculateAndReadStatement(window);
            keptTexts = boxTexts(window);
            QTest::mouseClick(child(window, QStringLiteral("cmdCancel")), Qt::LeftButton);
        });
        QTest::mouseClick(child(&menu, QStringLiteral("cmdDev")), Qt::LeftButton);
        QCOMPARE(focusAtOpening, QStringLiteral("txtCBL"));
        QCOMPARE(figures, (QStringList{"0", "500", "0", "500", "9800"}));
        QCOMPARE(keptTexts, (QStringList{"10000", "9800", "500", "100000"}));
        QCOMPARE(int(record.CBL), 10000);
        QCOMPARE(int(record.NBL), 9800);
        QCOMPARE(int(record.Div), 500);
        QCOMPARE(record.OA, Currency::fromRaw(100000LL * 10000));
        QCOMPARE(int(record.TaxableDiv), 0);
        QCOMPARE(int(record.Tax), 0);

        // Opened again, it starts from "0" everywhere; its close box closes it.
        QStringList reopened;
        whenModalAppears([&](QWidget* window) {
            reopened = boxTexts(window);
            window->close();
        });
        QTest::mouseClick(child(&menu, QStringLiteral("cmdDev")), Qt::LeftButton);
        QCOMPARE(reopened, (QStringList{"0", "0", "0", "0"}));
        menu.close();
    }
};

QTEST_MAIN(DistributionWindowsTest)
#include "tst_distribution_windows.moc"
