#include "app/about_window.h"
#include "app/application_setup.h"
#include "app/main_window.h"
#include "core/calc_record.h"
#include "support/modal.h"

#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { setUpApplication(*qApp); }

    void cleanup() { QTRY_COMPARE(visibleTopLevelCount(), 0); }

    void buttons_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("pixels");
        // Twips / 15, relative to the client area below the menu bar.
        QTest::newRow("cmdBuy") << "cmdBuy" << "今買うと何口になる？" << QRect(16, 24, 217, 25);
        QTest::newRow("cmdSell") << "cmdSell" << "今解約するといくらになる？" << QRect(16, 56, 217, 25);
        QTest::newRow("cmdDev") << "cmdDev" << "分配金が出た場合" << QRect(16, 88, 217, 25);
        QTest::newRow("cmdCancel") << "cmdCancel" << "終了" << QRect(240, 24, 89, 25);
    }
    void buttons()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QRect, pixels);
        CalcRecord record;
        frmmain window(record);
        auto* button = window.findChild<QPushButton*>(name);
        QVERIFY(button);
        QCOMPARE(button->text(), caption);
        QCOMPARE(button->geometry(), pixels);
        QVERIFY(!button->autoDefault());
        QVERIFY(!button->isDefault());
    }

    void windowAsShown()
    {
        CalcRecord record;
        frmmain window(record);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowTitle(), QStringLiteral("Miroven"));
        QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(!window.windowIcon().isNull());
        // The client area below the menu bar: 5010 x 1860 twips at 2370, 1290.
        QCOMPARE(window.centralWidget()->size(), QSize(334, 124));
        QCOMPARE(window.centralWidget()->mapToGlobal(QPoint(0, 0)), QPoint(158, 86));

        QCOMPARE(window.focusWidget()->objectName(), QStringLiteral("cmdBuy"));
        QStringList order;
        QWidget* w = window.focusWidget();
        for (int i = 0; i < 4; ++i, w = w->nextInFocusChain()) {
            while (!(w->focusPolicy() & Qt::TabFocus))
                w = w->nextInFocusChain();
            order << w->objectName();
        }
        QCOMPARE(order, (QStringList{"cmdBuy", "cmdSell", "cmdDev", "cmdCancel"}));

        const QList<QAction*> items = window.menuBar()->actions();
        QCOMPARE(items.size(), 1);
        QCOMPARE(items[0]->text(), QStringLiteral("About(&A)"));
        QVERIFY(!items[0]->menu());
        window.close();
    }

    void cancelEndsTheRun()
    {
        CalcRecord record;
        frmmain window(record);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseClick(window.findChild<QPushButton*>("cmdCancel"), Qt::LeftButton);
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
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        for (int opening = 0; opening < 2; ++opening) {
            QString caption, text, labels;
            bool stillOpen = false;
            QPoint clientTopLeft;
            whenModalAppears([&](QWidget* modal) {
                caption = modal->windowTitle();
                text = modal->findChild<QLabel*>("Label3")->text();
                labels = modal->findChild<QLabel*>("Label1")->text() + " "
                         + modal->findChild<QLabel*>("Label2")->text();
                clientTopLeft = modal->mapToGlobal(QPoint(0, 0));
                QTest::keyClick(modal, Qt::Key_Escape);
                QTest::keyClick(modal, Qt::Key_Return);
                stillOpen = modal->isVisible();
                modal->close();
            });
            // The offscreen platform does not hand activation back after a modal closes.
            QApplication::setActiveWindow(&window);
            QTest::keyClick(window.windowHandle(), Qt::Key_A, Qt::AltModifier);
            QCOMPARE(caption, QStringLiteral("Tarsiel -About"));
            QCOMPARE(text, QStringLiteral("Miroven ver.2.1\nTarsiel\nCopyright (C) Tarsiel\n\nご要望などは以下へ"));
            QCOMPARE(labels, QStringLiteral("miroven@tarsiel.example https://tarsiel.example/"));
            QCOMPARE(clientTopLeft, QPoint(159, 69));
            QVERIFY(stillOpen);
        }
        window.close();
    }

    void aboutLayoutFits()
    {
        frmAbout about;
        QCOMPARE(about.size(), QSize(201, 151));
        const auto* text = about.findChild<QLabel*>("Label3");
        const auto* mail = about.findChild<QLabel*>("Label1");
        const auto* web = about.findChild<QLabel*>("Label2");
        QCOMPARE(text->pos(), QPoint(32, 16));
        QVERIFY2(text->geometry().bottom() < mail->y(), "the five lines must end above the e-mail address");
        QVERIFY2(web->geometry().right() < about.width(), "the web address must fit the window");
        QVERIFY(about.focusWidget() == nullptr || !(about.focusWidget()->focusPolicy() & Qt::TabFocus));
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
