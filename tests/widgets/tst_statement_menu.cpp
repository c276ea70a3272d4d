// The statement windows' context menu through real events: コピー by right-click and
// by Ctrl+C gives the statement as text; 計算過程 by Shift+F10 or the Menu key opens
// the working, which OK closes, leaving the statement as it was.
#include "app/application_setup.h"
#include "windows/distribution/distribution_window.h"
#include "windows/purchase/purchase_window.h"
#include "windows/redemption/redemption_window.h"
#include "core/calc_record.h"
#include "support/modal.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTimer>
#include <QWindow>
#include <QtTest>

#include <functional>
#include <memory>

using namespace support;

namespace {

using Opener = std::function<std::unique_ptr<QDialog>(CalcRecord&)>;

// Once the context menu is up, presses `key` in it (its mnemonic, or Escape); a menu
// still up after the limit is closed, so a missing item never hangs the test.
void pressInNextMenu(Qt::Key key, QVariantMap& notes)
{
    QTimer::singleShot(100, qApp, [key, &notes] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        notes[QStringLiteral("menu")] = menu ? menu->objectName() : QString();
        if (menu)
            QTest::keyClick(menu, key);
    });
    QTimer::singleShot(kModalLimitMs, qApp, [] {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    });
}

QString clipboardAfter(const std::function<void()>& act)
{
    QGuiApplication::clipboard()->clear();
    act();
    return QGuiApplication::clipboard()->text();
}

} // namespace

Q_DECLARE_METATYPE(Opener)

class StatementMenuTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { setUpApplication(*qApp); }
    void cleanup() { QTRY_COMPARE(visibleTopLevelCount(), 0); }

    void copyAndWorking_data()
    {
        QTest::addColumn<Opener>("open");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QStringList>("figures");
        QTest::addColumn<QString>("copied");
        QTest::addColumn<QString>("reference"); // the working's last line, after the statement
        QTest::newRow("purchase")
            << Opener([](CalcRecord& r) { return std::make_unique<frmBuy>(r); })
            << QStringList{"10000", "10000", "3", "5"}
            << QStringList{"lblOA", "lblIM", "lblFP", "lblTI"}
            << QStringLiteral("Miroven-購入明細\n手数料も購入資金でカバーする\tいいえ\n購入資金\t10000\n"
                              "基準価額\t10000\n販売手数料(%)\t3\n消費税(%)\t5\n購入口数\t10000\n"
                              "（金額）\t10000\n手数料\t315\n総投資額\t10315\n")
            << QString();
        QTest::newRow("redemption")
            << Opener([](CalcRecord& r) { return std::make_unique<frmWithdraw>(r); })
            << QStringList{"10000", "12000", "100000", "0.3"}
            << QStringList{"lblIM", "lblTax", "lblFee", "lblGain"}
            << QStringLiteral("Miroven-解約明細\n元本の基準価額\t10000\n現在の基準価額\t12000\n"
                              "所有口数\t100000\n信託留保(%)\t0.3\n評価額\t120000\n税金\t3928\n"
                              "信託留保額\t360\n手取り現金\t115712\n")
            << QStringLiteral("（参考）現行の税制では 所得税及び復興特別所得税 3007 + 住民税 982 = 3989");
        QTest::newRow("distribution")
            << Opener([](CalcRecord& r) { return std::make_unique<frmDiv>(r); })
            << QStringList{"10000", "9950", "1000", "100000"}
            << QStringList{"lblDiv1", "lblDiv2", "lblTax", "lblDiv3", "lblCBL"}
            << QStringLiteral("Miroven-解約明細\n元本の基準価額\t10000\n分配後の基準価額\t9950\n"
                              "分配金\t1000\n所有口数\t100000\n課税分配金\t500\n非課税分配金\t500\n"
                              "税金\t100\n手取分配金\t900\n（分配後元本基準価額）\t9950\n")
            << QStringLiteral("（参考）現行の税制では 所得税及び復興特別所得税 76 + 住民税 25 = 101");
    }
    void copyAndWorking()
    {
        QFETCH(Opener, open);
        QFETCH(QStringList, typed);
        QFETCH(QStringList, figures);
        QFETCH(QString, copied);
        QFETCH(QString, reference);

        CalcRecord record;
        const std::unique_ptr<QDialog> input = open(record);
        QVERIFY(showAndActivate(input.get()));
        // The boxes top to bottom, as the rows give their texts.
        QStringList boxes;
        for (auto* edit : input->findChildren<QLineEdit*>())
            boxes << edit->objectName();
        typeAll(input.get(), boxes, typed);

        ModalWatch statement(figures, [figures](QWidget* window, ModalSeen& seen) {
            QVariantMap& notes = seen.notes;
            QWidget* ok = window->findChild<QWidget*>(QStringLiteral("cmdOK"));
            notes[QStringLiteral("rightClick")] = clipboardAfter([&] {
                pressInNextMenu(Qt::Key_C, notes);
                // Through the window, as the platform delivers a click, so the toolkit
                // turns it into a context-menu request.
                QWidget* label = window->findChild<QWidget*>(QStringLiteral("Label1"));
                QTest::mouseClick(window->windowHandle(), Qt::RightButton, {},
                                  label->mapTo(window, label->rect().center()));
            });
            notes[QStringLiteral("menuOnRightClick")] = notes.value(QStringLiteral("menu"));
            notes[QStringLiteral("ctrlC")] = clipboardAfter(
                [&] { QTest::keyClick(ok, Qt::Key_C, Qt::ControlModifier); });

            // 計算過程 by Shift+F10: the working window, over the statement.
            ModalWatch working({}, [](QWidget* shown, ModalSeen& seenThere) {
                if (auto* text = shown->findChild<QPlainTextEdit*>(QStringLiteral("txtWorking"))) {
                    seenThere.notes[QStringLiteral("text")] = text->toPlainText();
                    // The text's own context menu is Qt's, in Japanese as the rest.
                    const std::unique_ptr<QMenu> menu(text->createStandardContextMenu());
                    QStringList items;
                    for (const QAction* action : menu->actions()) {
                        if (!action->isSeparator())
                            items << action->text().section(u'\t', 0, 0); // without the shortcut
                    }
                    seenThere.notes[QStringLiteral("menu")] = items;
                }
                QTest::mouseClick(shown->findChild<QWidget*>(QStringLiteral("cmdOK")), Qt::LeftButton);
            });
            pressInNextMenu(Qt::Key_W, notes);
            QTest::keyClick(ok, Qt::Key_F10, Qt::ShiftModifier);
            notes[QStringLiteral("workingClosed")] = working.closed();
            notes[QStringLiteral("workingTitle")] = working.seen().title;
            notes[QStringLiteral("workingFocus")] = working.seen().focus;
            notes[QStringLiteral("workingText")] = working.seen().notes.value(QStringLiteral("text"));
            notes[QStringLiteral("workingMenu")] = working.seen().notes.value(QStringLiteral("menu"));
            notes[QStringLiteral("menuOnShiftF10")] = notes.value(QStringLiteral("menu"));

            // The Menu key opens the same menu; Escape leaves it.
            pressInNextMenu(Qt::Key_Escape, notes);
            QTest::keyClick(ok, Qt::Key_Menu);
            notes[QStringLiteral("menuOnMenuKey")] = notes.value(QStringLiteral("menu"));

            notes[QStringLiteral("focusAfter")] = window->focusWidget() ? window->focusWidget()->objectName() : QString();
            notes[QStringLiteral("figuresAfter")] = textsOf(window, figures);
            QTest::mouseClick(ok, Qt::LeftButton);
        });
        click(input.get(), QStringLiteral("cmdCalc"));
        QVERIFY2(statement.closed(), statement.why());

        const QVariantMap& notes = statement.seen().notes;
        QCOMPARE(notes.value("menuOnRightClick").toString(), QStringLiteral("mnuStatement"));
        QCOMPARE(notes.value("rightClick").toString(), copied);
        QCOMPARE(notes.value("ctrlC").toString(), copied);
        QCOMPARE(notes.value("menuOnShiftF10").toString(), QStringLiteral("mnuStatement"));
        QCOMPARE(notes.value("menuOnMenuKey").toString(), QStringLiteral("mnuStatement"));
        QVERIFY(notes.value("workingClosed").toBool());

        QCOMPARE(notes.value("workingTitle").toString(), QStringLiteral("Miroven-計算過程"));
        QCOMPARE(notes.value("workingFocus").toString(), QStringLiteral("cmdOK"));
        QCOMPARE(notes.value("workingMenu").toStringList(),
                 QStringList({"コピー(&C)", "すべてを選択"}));
        // The working ends with the statement's rows as shown, then any reference line.
        QStringList steps = notes.value("workingText").toString().split(u'\n');
        if (!reference.isEmpty())
            QCOMPARE(steps.takeLast(), reference);
        const QStringList copiedLines = copied.trimmed().split(u'\n');
        const qsizetype rows = figures.size();
        QVERIFY(steps.size() > rows);
        for (qsizetype i = 0; i < rows; ++i) {
            const QStringList row = copiedLines.at(copiedLines.size() - rows + i).split(u'\t');
            QCOMPARE(steps.at(steps.size() - rows + i), row.at(0) + QStringLiteral(" = ") + row.at(1));
        }
        // The statement is as it was: the same figures, OK still the focus.
        QCOMPARE(notes.value("focusAfter").toString(), QStringLiteral("cmdOK"));
        QCOMPARE(notes.value("figuresAfter").toStringList(), statement.seen().texts);
    }
};

#include "test_main.h"
MIROVEN_TEST_MAIN(StatementMenuTest)
#include "tst_statement_menu.moc"
