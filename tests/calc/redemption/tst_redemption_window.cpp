#include "app/main_window.h"
#include "calc/redemption/redemption_statement_window.h"
#include "calc/redemption/redemption_window.h"
#include "core/calc_record.h"
#include "support/modal.h"
#include "widgets/twips.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {

const QStringList kBoxes{"txtCBL", "txtNBL", "txtOA", "txtFee"};
const QStringList kFigures{"lblIM", "lblTax", "lblFee", "lblGain"};

QStringList entries(const QWidget* window)
{
    QStringList texts;
    for (const QString& name : kBoxes)
        texts << window->findChild<QLineEdit*>(name)->text();
    return texts;
}

void typeEntries(QWidget* window, const QStringList& texts)
{
    for (int i = 0; i < kBoxes.size(); ++i) {
        auto* box = window->findChild<QLineEdit*>(kBoxes.at(i));
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        // Key clicks carry only Latin-1; full-width text is pasted, as users do.
        if (texts.at(i).toLatin1() == texts.at(i).toUtf8())
            QTest::keyClicks(box, texts.at(i));
        else
            box->insert(texts.at(i));
    }
}

void click(QWidget* window, const QString& button)
{
    QTest::mouseClick(window->findChild<QPushButton*>(button), Qt::LeftButton);
}

// Reads the next statement's figures when it appears, then presses its "OK".
void readNextStatement(QStringList* figures, bool* okHadFocus = nullptr)
{
    whenModalAppears([=](QWidget* modal) {
        auto* ok = modal->findChild<QPushButton*>(QStringLiteral("cmdOK"));
        if (modal->objectName() != QStringLiteral("frmWithdrawShow") || !ok) {
            qWarning("expected the statement, got %s", qPrintable(modal->objectName()));
            modal->close();
            return;
        }
        for (const QString& name : kFigures)
            *figures << modal->findChild<QLabel*>(name)->text();
        if (okHadFocus)
            *okHadFocus = modal->focusWidget() == ok;
        QTest::mouseClick(ok, Qt::LeftButton);
    });
}

} // namespace

class RedemptionWindowTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QTRY_COMPARE(visibleTopLevelCount(), 0); }

    void layout_data()
    {
        QTest::addColumn<bool>("statement");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRect>("at"); // twips; caption labels size themselves, so no size

        QTest::newRow("txtCBL") << false << "txtCBL" << "0" << QRect(2280, 120, 1095, 270);
        QTest::newRow("txtNBL") << false << "txtNBL" << "0" << QRect(2280, 480, 1095, 270);
        QTest::newRow("txtOA") << false << "txtOA" << "0" << QRect(2280, 840, 1095, 270);
        QTest::newRow("txtFee") << false << "txtFee" << "0.3" << QRect(2280, 1200, 615, 270);
        QTest::newRow("cmdCalc") << false << "cmdCalc" << "計算" << QRect(3600, 120, 1095, 375);
        QTest::newRow("cmdCancel") << false << "cmdCancel" << "終了" << QRect(3600, 600, 1095, 375);
        QTest::newRow("input Label1") << false << "Label1" << "元本の基準価額" << QRect(240, 120, 0, 0);
        QTest::newRow("input Label2") << false << "Label2" << "現在の基準価額" << QRect(240, 480, 0, 0);
        QTest::newRow("input Label3") << false << "Label3" << "所有口数" << QRect(240, 840, 0, 0);
        QTest::newRow("input Label4") << false << "Label4" << "信託留保(%)" << QRect(240, 1200, 0, 0);
        QTest::newRow("statement Label1") << true << "Label1" << "評価額" << QRect(240, 120, 0, 0);
        QTest::newRow("lblIM") << true << "lblIM" << "1" << QRect(1080, 120, 1335, 255);
        QTest::newRow("cmdOK") << true << "cmdOK" << "OK" << QRect(2760, 120, 975, 375);
        QTest::newRow("statement Label2") << true << "Label2" << "税金" << QRect(240, 480, 0, 0);
        QTest::newRow("lblTax") << true << "lblTax" << "-2" << QRect(1080, 480, 1335, 255);
        QTest::newRow("statement Label3") << true << "Label3" << "信託留保額" << QRect(0, 840, 0, 0);
        QTest::newRow("lblFee") << true << "lblFee" << "3" << QRect(1080, 840, 1335, 255);
        QTest::newRow("statement Label4") << true << "Label4" << "手取り現金" << QRect(0, 1320, 0, 0);
        QTest::newRow("lblGain") << true << "lblGain" << "40000" << QRect(1080, 1320, 1335, 255);
        QTest::newRow("Line1") << true << "Line1" << "" << QRect(0, 1200, 2400, 15);
    }
    void layout()
    {
        QFETCH(bool, statement);
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QRect, at);

        CalcRecord record;
        std::unique_ptr<QWidget> window;
        if (statement)
            window = std::make_unique<frmWithdrawShow>(RedemptionFigures{1, -2, 3, 40000});
        else
            window = std::make_unique<frmWithdraw>(record);
        auto* widget = window->findChild<QWidget*>(name);
        QVERIFY(widget);
        QCOMPARE(widget->pos(), QPoint(twips(at.x()), twips(at.y())));
        if (at.width() > 0)
            QCOMPARE(widget->size(), QSize(twips(at.width()), twips(at.height())));
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            QCOMPARE(edit->text(), text);
            QVERIFY(!edit->testAttribute(Qt::WA_InputMethodEnabled));
            QCOMPARE(bool(edit->alignment() & Qt::AlignRight), name == "txtFee");
        } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
            QCOMPARE(button->text(), text);
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            QCOMPARE(label->text(), text);
            QVERIFY(label->width() >= label->sizeHint().width()); // nothing cut off
        }
    }

    void windows()
    {
        CalcRecord record;
        frmWithdraw input(record);
        QCOMPARE(input.windowTitle(), QStringLiteral("Miroven-解約"));
        QCOMPARE(input.geometry(), twipsRect(2385, 3540, 4785, 1680));
        QVERIFY(!input.windowIcon().isNull());
        QVERIFY(!(input.windowFlags() & Qt::WindowMaximizeButtonHint));
        const QStringList tips{"10,000口当たりの基準価額を入力してください",
                               "10,000口当たりの現在の基準価額を入力してください",
                               "解約時の所有口数を入力して下さい",
                               "信託留保率を％で入力してください"};
        for (int i = 0; i < tips.size(); ++i)
            QCOMPARE(input.findChild<QLabel*>(QStringLiteral("Label%1").arg(i + 1))->toolTip(), tips.at(i));

        input.show();
        QVERIFY(QTest::qWaitForWindowActive(&input));
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("txtCBL"));
        for (const char* next : {"txtNBL", "txtOA", "txtFee", "cmdCalc", "cmdCancel", "txtCBL"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(next));
        }
        input.close();

        frmWithdrawShow statement({1, 2, 3, 4});
        QCOMPARE(statement.windowTitle(), QStringLiteral("Miroven-解約明細"));
        QCOMPARE(statement.geometry(), twipsRect(2385, 5625, 3930, 1680));
        QVERIFY(!statement.windowIcon().isNull());
        auto* ok = statement.findChild<QWidget*>(QStringLiteral("cmdOK"));
        for (QWidget* w : statement.findChildren<QWidget*>())
            QCOMPARE(w->focusPolicy() != Qt::NoFocus, w == ok);
        statement.show();
        QVERIFY(QTest::qWaitForWindowActive(&statement));
        QCOMPARE(QApplication::focusWidget(), ok);
        QTest::keyClick(ok, Qt::Key_Escape);
        QVERIFY(statement.isVisible());
        QTest::keyClick(ok, Qt::Key_Space);
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
            << QStringList{"120000", "3928", "360", "115712"} << "" << 0 << "";
        QTest::newRow("fractions floored") << QStringList{"10000", "10123", "12345", "0.3"}
            << QStringList{"12496", "23", "37", "12436"} << "" << 0 << "";
        QTest::newRow("cash 1010.5 shown 1010") << QStringList{"10000", "10125", "1000", "0"}
            << QStringList{"1012", "2", "0", "1010"} << "" << 0 << "";
        QTest::newRow("full-width and separators") << QStringList{"１０，０００", "12,000", "１０００００", "０．３"}
            << QStringList{"120000", "3928", "360", "115712"} << "" << 0 << "";
        QTest::newRow("fresh window") << fresh << QStringList{}
            << "元本の基準価額が入力されていません" << int(QMessageBox::NoIcon) << "";
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
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        typeEntries(&window, typed);

        QStringList figures;
        bool okHadFocus = false;
        QString text;
        QString title;
        int shownIcon = -1;
        if (message.isEmpty())
            readNextStatement(&figures, &okHadFocus);
        else
            dismissNextMessage(&text, &title, &shownIcon);
        click(&window, QStringLiteral("cmdCalc"));

        QCOMPARE(figures, shown);
        QCOMPARE(okHadFocus, !shown.isEmpty());
        QCOMPARE(text, message);
        if (!message.isEmpty()) {
            QCOMPARE(title, QStringLiteral("Miroven"));
            QCOMPARE(shownIcon, icon);
        }
        if (!focus.isEmpty()) {
            // The window gives the focus back to this box whenever it is active again.
            auto* refused = window.findChild<QLineEdit*>(focus);
            QCOMPARE(window.focusWidget(), refused);
            QCOMPARE(refused->selectedText(), refused->text());
        }
        QCOMPARE(entries(&window), typed);
        QVERIFY(window.isVisible());
        window.close();
    }

    void fromMainMenuTwiceInARow()
    {
        CalcRecord record;
        frmmain menu(record);
        menu.show();
        QVERIFY(QTest::qWaitForWindowExposed(&menu));

        // Two calculations in one opening: each statement shows only its own figures.
        QStringList first;
        QStringList second;
        whenModalAppears([&](QWidget* window) {
            if (window->objectName() != QStringLiteral("frmWithdraw")) {
                window->close();
                return;
            }
            typeEntries(window, {"10000", "12000", "100000", "0.3"});
            readNextStatement(&first);
            click(window, QStringLiteral("cmdCalc"));
            typeEntries(window, {"10000", "10123", "12345", "0.3"});
            readNextStatement(&second);
            click(window, QStringLiteral("cmdCalc"));
            click(window, QStringLiteral("cmdCancel"));
        });
        click(&menu, QStringLiteral("cmdSell"));
        QCOMPARE(first, (QStringList{"120000", "3928", "360", "115712"}));
        QCOMPARE(second, (QStringList{"12496", "23", "37", "12436"}));

        // The next opening starts from the initial texts; its close box closes it.
        QStringList reopened;
        whenModalAppears([&](QWidget* window) {
            reopened = entries(window);
            window->close();
        });
        click(&menu, QStringLiteral("cmdSell"));
        QCOMPARE(reopened, (QStringList{"0", "0", "0", "0.3"}));
        menu.close();
    }
};

QTEST_MAIN(RedemptionWindowTest)
#include "tst_redemption_window.moc"
