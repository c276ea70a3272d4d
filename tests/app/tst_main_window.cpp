#include "app/about_window.h"
#include "app/application_setup.h"
#include "app/main_window.h"
#include "core/calc_record.h"
#include "support/controls.h"
#include "support/layout.h"
#include "support/modal.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

using namespace support;
using Kind = Control::Kind;

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { setUpApplication(*qApp); }

    void cleanup()
    {
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QTRY_COMPARE(visibleTopLevelCount(), 0);
    }

    // Places are relative to the client area below the menu bar.
    void mainWindow_data()
    {
        addControlRows({
            {.kind = Kind::Window, .name = "frmmain", .text = "Miroven", .at = {2370, 1290},
             .size = {5010, 1860}, .tabStops = 4},
            {.kind = Kind::MenuItem, .name = "mnuAbout", .text = "About(&A)"},
            {.kind = Kind::Button, .name = "cmdBuy", .text = "今買うと何口になる？", .at = {240, 360},
             .size = {3255, 375}, .tab = 0},
            {.kind = Kind::Button, .name = "cmdSell", .text = "今解約するといくらになる？",
             .at = {240, 840}, .size = {3255, 375}, .tab = 1},
            {.kind = Kind::Button, .name = "cmdDev", .text = "分配金が出た場合", .at = {240, 1320},
             .size = {3255, 375}, .tab = 2},
            {.kind = Kind::Button, .name = "cmdCancel", .text = "終了", .at = {3600, 360},
             .size = {1335, 375}, .tab = 3},
        });
    }
    void mainWindow()
    {
        CalcRecord record;
        frmmain window(record);
        checkControl(&window);
    }

    // Three labels and nothing that takes the focus; the five lines end above the
    // e-mail address, and the web address fits the window.
    void aboutWindow_data()
    {
        addControlRows({
            {.kind = Kind::Window, .name = "frmAbout", .text = "Tarsiel -About", .at = {2385, 1035},
             .size = {3015, 2265}, .tabStops = 0},
            {.kind = Kind::Caption, .name = "Label3",
             .text = "Miroven ver.2.1\nTarsiel\nCopyright (C) Tarsiel\n\nご要望などは以下へ",
             .at = {480, 240}},
            {.kind = Kind::Caption, .name = "Label1", .text = "miroven@tarsiel.example",
             .at = {600, 1560}},
            {.kind = Kind::Caption, .name = "Label2", .text = "https://tarsiel.example/",
             .at = {600, 1920}},
        });
    }
    void aboutWindow()
    {
        frmAbout about;
        checkControl(&about);
    }

    void cancelEndsTheRun()
    {
        CalcRecord record;
        frmmain window(record);
        QVERIFY(showAndActivate(&window));
        click(&window, QStringLiteral("cmdCancel"));
        QVERIFY(!window.isVisible());
    }

    void aboutTextHasFiveLines()
    {
        const QStringList lines = aboutText().split(u'\r');
        QCOMPARE(lines, (QStringList{"Miroven ver.2.1", "Tarsiel", "Copyright (C) Tarsiel", "",
                                     "ご要望などは以下へ"}));
        QVERIFY(!aboutText().contains(u'\n'));
    }

    // Alt+A opens the About window modally, twice; each time its text appears once and
    // neither Enter nor Esc closes it.
    void aboutFromTheMenu()
    {
        CalcRecord record;
        frmmain window(record);
        QVERIFY(showAndActivate(&window));
        for (int opening = 0; opening < 2; ++opening) {
            ModalWatch about({"Label3"}, [](QWidget* modal, ModalSeen& seen) {
                QTest::keyClick(modal, Qt::Key_Escape);
                QTest::keyClick(modal, Qt::Key_Return);
                seen.notes["open after Esc and Enter"] = modal->isVisible();
                modal->close();
            });
            // The offscreen platform does not hand activation back after a modal closes.
            QApplication::setActiveWindow(&window);
            QTest::keyClick(window.windowHandle(), Qt::Key_A, Qt::AltModifier);
            QVERIFY2(about.closed(), about.why());
            QCOMPARE(about.seen().name, QStringLiteral("frmAbout"));
            QCOMPARE(about.seen().texts,
                     QStringList{"Miroven ver.2.1\nTarsiel\nCopyright (C) Tarsiel\n\nご要望などは以下へ"});
            QCOMPARE(about.seen().notes.value("open after Esc and Enter"), QVariant(true));
        }
        window.close();
    }

    // While a window opened from the menu is up, the menu takes neither clicks nor keys:
    // a click on a calculator button or Alt+A opens nothing more.
    void menuTakesNoInputUnderAModalWindow()
    {
        CalcRecord record;
        frmmain menu(record);
        QVERIFY(showAndActivate(&menu));
        ModalWatch about({}, [under = QPointer<QWidget>(&menu)](QWidget* modal, ModalSeen& seen) {
            // Through the platform, which is where a blocked window drops its input.
            const auto* cmdDev =
                under ? under->findChild<QPushButton*>(QStringLiteral("cmdDev")) : nullptr;
            if (cmdDev)
                QTest::mouseClick(under->windowHandle(), Qt::LeftButton, {},
                                  cmdDev->mapTo(under, cmdDev->rect().center()));
            if (under)
                QTest::keyClick(under->windowHandle(), Qt::Key_A, Qt::AltModifier);
            seen.notes["modal after the clicks"] = QApplication::activeModalWidget() == modal;
            modal->close();
        });
        QApplication::setActiveWindow(&menu);
        QTest::keyClick(menu.windowHandle(), Qt::Key_A, Qt::AltModifier);
        QVERIFY2(about.closed(), about.why());
        QCOMPARE(about.seen().name, QStringLiteral("frmAbout"));
        QCOMPARE(about.seen().notes.value("modal after the clicks"), QVariant(true));
        menu.close();
    }
};

#include "test_main.h"
MIROVEN_TEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
