// Boxes left at their initial texts read as their defaults in the user's locale, and
// the redemption example gives the right statement however the retention is typed.
// Registered under several locales: the decimal point differs between them.
#include "windows/purchase/purchase_window.h"
#include "windows/redemption/redemption_window.h"
#include "core/calc_record.h"
#include "core/number_text.h"
#include "support/modal.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

using Opener = std::function<std::unique_ptr<QDialog>(CalcRecord&)>;

const NumberFormat kFormat = NumberFormat::fromLocale(QLocale::system());

// A text written with '.' as the decimal point, as the locale types it.
QString typed(QString text)
{
    text.replace(u'.', kFormat.decimalPoint);
    return text;
}

} // namespace

Q_DECLARE_METATYPE(Opener)

class InitialTextsTest : public QObject {
    Q_OBJECT
private slots:
    // A run under another locale proves nothing unless Qt took that locale.
    void initTestCase()
    {
        const QString asked = qEnvironmentVariable("LC_ALL").section(u'.', 0, 0);
        QVERIFY(!asked.isEmpty());
        QCOMPARE(QLocale::system().name(), QLocale(asked).name());
    }
    void cleanup() { QTRY_COMPARE(visibleTopLevelCount(), 0); }

    void untouchedBoxReadsAsDefault_data()
    {
        QTest::addColumn<Opener>("open");
        QTest::addColumn<QString>("box");
        QTest::addColumn<double>("value");
        const Opener buy = [](CalcRecord& r) { return std::make_unique<frmBuy>(r); };
        const Opener withdraw = [](CalcRecord& r) { return std::make_unique<frmWithdraw>(r); };
        QTest::newRow("sales fee") << buy << "txtFP1" << 3.0;
        QTest::newRow("consumption tax") << buy << "txtFP2" << 5.0;
        QTest::newRow("retention") << withdraw << "txtFee" << 0.3;
    }
    void untouchedBoxReadsAsDefault()
    {
        QFETCH(Opener, open);
        QFETCH(QString, box);
        QFETCH(double, value);
        CalcRecord record;
        const std::unique_ptr<QDialog> window = open(record);
        const QString text = window->findChild<QLineEdit*>(box)->text();
        const auto read = parseDouble(text, kFormat);
        QVERIFY2(bool(read), qPrintable(text));
        QCOMPARE(*read, value);
    }

    // Principal NAV 10000, current 12000, 100000 units: retention 360, net cash 115712.
    void redemptionExample_data()
    {
        QTest::addColumn<QString>("retention"); // null: the box left untouched
        QTest::newRow("untouched") << QString();
        QTest::newRow("typed") << typed("0.3");
        QTest::newRow("pasted cell") << typed("0.3\r\n");
    }
    void redemptionExample()
    {
        QFETCH(QString, retention);
        CalcRecord record;
        frmWithdraw window(record);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QStringList entries{"10000", "12000", "100000"};
        const QStringList boxes{"txtCBL", "txtNBL", "txtOA"};
        for (int i = 0; i < boxes.size(); ++i)
            window.findChild<QLineEdit*>(boxes[i])->setText(entries[i]);
        if (!retention.isNull())
            window.findChild<QLineEdit*>("txtFee")->setText(retention);

        QStringList figures;
        QString message;
        whenModalAppears([&figures, &message](QWidget* modal) {
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                message = box->text();
                box->button(QMessageBox::Ok)->click();
                return;
            }
            for (const char* name : {"lblIM", "lblTax", "lblFee", "lblGain"})
                figures << modal->findChild<QLabel*>(name)->text();
            modal->findChild<QPushButton*>("cmdOK")->click();
        });
        QTest::mouseClick(window.findChild<QPushButton*>("cmdCalc"), Qt::LeftButton);
        QCOMPARE(message, QString());
        QCOMPARE(figures, QStringList({"120000", "3928", "360", "115712"}));
        window.close();
    }
};

#include "test_main.h"
MIROVEN_TEST_MAIN(InitialTextsTest)
#include "tst_initial_texts.moc"
