// What assistive technology and a dense screen get from every window: names for the
// window and each control, figures with their row captions, and sharp icons.
#include "app/about_window.h"
#include "app/application_setup.h"
#include "app/main_window.h"
#include "windows/distribution/distribution_statement_window.h"
#include "windows/distribution/distribution_window.h"
#include "windows/purchase/purchase_statement_window.h"
#include "windows/purchase/purchase_window.h"
#include "windows/redemption/redemption_statement_window.h"
#include "windows/redemption/redemption_window.h"
#include "core/calc_record.h"
#include "support/controls.h"
#include "support/modal.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include <functional>
#include <memory>

using WindowFactory = std::function<std::unique_ptr<QWidget>(CalcRecord&)>;
Q_DECLARE_METATYPE(WindowFactory)

namespace {

QString accessibleText(QObject* object, QAccessible::Text which)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
    return iface ? iface->text(which) : QString();
}

bool isValueLabel(const QLabel* label) { return label->objectName().startsWith(u"lbl"); }

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { setUpApplication(*qApp); }

    void cleanup()
    {
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QTRY_COMPARE(support::visibleTopLevelCount(), 0);
    }

    void windows_data()
    {
        QTest::addColumn<WindowFactory>("make");
        QTest::newRow("main menu") << WindowFactory([](CalcRecord& r) { return std::make_unique<frmmain>(r); });
        QTest::newRow("about") << WindowFactory([](CalcRecord&) { return std::make_unique<frmAbout>(); });
        QTest::newRow("purchase") << WindowFactory([](CalcRecord& r) { return std::make_unique<frmBuy>(r); });
        QTest::newRow("purchase statement") << WindowFactory([](CalcRecord&) {
            return std::make_unique<frmBuyShow>(shownFigures(kPurchaseStatement, PurchaseFigures{9694, 9694, 305, 10000}));
        });
        QTest::newRow("redemption") << WindowFactory([](CalcRecord& r) { return std::make_unique<frmWithdraw>(r); });
        QTest::newRow("redemption statement") << WindowFactory([](CalcRecord&) {
            return std::make_unique<frmWithdrawShow>(shownFigures(kRedemptionStatement, RedemptionFigures{120000, 3928, 360, 115712}));
        });
        QTest::newRow("distribution") << WindowFactory([](CalcRecord& r) { return std::make_unique<frmDiv>(r); });
        QTest::newRow("distribution statement") << WindowFactory([](CalcRecord&) {
            return std::make_unique<frmDivShow>(shownFigures(kDistributionStatement, DistributionFigures{500, 500, 100, 900, 9950}));
        });
    }

    void windows()
    {
        QFETCH(WindowFactory, make);
        CalcRecord record;
        const std::unique_ptr<QWidget> window = make(record);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));

        QCOMPARE(accessibleText(window.get(), QAccessible::Name), window->windowTitle());

        for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
            QCOMPARE(accessibleText(button, QAccessible::Name), button->text().remove(u'&'));

        // A box is named by the caption of its row.
        const QList<QLabel*> labels = window->findChildren<QLabel*>();
        for (QLineEdit* box : window->findChildren<QLineEdit*>()) {
            const auto owner = std::find_if(labels.cbegin(), labels.cend(),
                                            [box](const QLabel* l) { return l->buddy() == box; });
            QVERIFY2(owner != labels.cend(), qPrintable(box->objectName()));
            QCOMPARE(accessibleText(box, QAccessible::Name), (*owner)->text());
        }

        // A figure is read out as itself, with its row caption as the description.
        for (QLabel* label : labels) {
            if (label->text().isEmpty())
                continue;
            QCOMPARE(accessibleText(label, QAccessible::Name), label->text());
            if (isValueLabel(label))
                QVERIFY2(!accessibleText(label, QAccessible::Description).isEmpty(),
                         qPrintable(label->objectName()));
        }

        // Vector icons: at twice the pixel density the icon is drawn at twice the size.
        const QPixmap icon = window->windowIcon().pixmap(QSize(32, 32), 2.0);
        QCOMPARE(icon.deviceIndependentSize().toSize(), QSize(32, 32));
        QCOMPARE(icon.size(), QSize(64, 64));
        const QImage image = icon.toImage();
        int drawn = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                drawn += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
        QVERIFY2(drawn > image.width() * image.height() / 4, "the icon is nearly empty");
        window->close();
    }

    // A redemption from the main menu to its statement and back, with the keyboard alone:
    // Tab moves in the windows' order, typing replaces a box's text, Space presses.
    void keyboardOnly()
    {
        CalcRecord record;
        frmmain window(record);
        QVERIFY(support::showAndActivate(&window));
        support::ModalWatch input({}, [](QWidget* input, support::ModalSeen& seen) {
            const auto press = [input](Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
                if (QWidget* focus = input->focusWidget())
                    QTest::keyClick(focus, key, modifiers);
            };
            const auto typeThenTab = [input, press](const QString& text) {
                press(Qt::Key_A, Qt::ControlModifier);
                if (QWidget* focus = input->focusWidget())
                    QTest::keyClicks(focus, text);
                press(Qt::Key_Tab);
            };
            typeThenTab(QStringLiteral("10000"));
            typeThenTab(QStringLiteral("12000"));
            typeThenTab(QStringLiteral("100000"));
            press(Qt::Key_Tab); // the retention keeps its 0.3
            {
                support::ModalWatch statement(
                    {"lblIM", "lblTax", "lblFee", "lblGain"},
                    [](QWidget* shown, support::ModalSeen&) {
                        if (QWidget* focus = shown->focusWidget())
                            QTest::keyClick(focus, Qt::Key_Space);
                    });
                press(Qt::Key_Space); // 計算
                (void)statement.closed();
                seen.inner << statement.seen();
            }
            press(Qt::Key_Tab);
            press(Qt::Key_Space); // 終了, which must close the window
        });
        QTest::keyClick(window.focusWidget(), Qt::Key_Tab);
        QTest::keyClick(window.focusWidget(), Qt::Key_Space);
        QVERIFY2(input.closed(), input.why());
        QCOMPARE(input.seen().name, QStringLiteral("frmWithdraw"));
        QCOMPARE(input.seen().inner.size(), 1);
        QCOMPARE(input.seen().inner.first().texts,
                 (QStringList{"120000", "3928", "360", "115712"}));
        window.close();
    }
};

#include "test_main.h"
MIROVEN_TEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
