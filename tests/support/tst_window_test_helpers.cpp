// The window-test helpers themselves: a watch fails instead of hanging, always closes
// the window it took, and never acts once it is gone; the guard closes a modal window
// nobody watches; typing and lookups fail the test when they cannot do their job.
#include "support/controls.h"
#include "support/modal.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace support;

Q_DECLARE_METATYPE(support::ModalWatch::Action)

namespace {

// Short, so that the rows that wait for nothing stay quick.
constexpr int kLimitMs = 300;

// A small statement: a figure and an "OK" that closes it. A stubborn one ignores its
// close box, as a window with a closing handler may.
class Statement : public QDialog {
public:
    explicit Statement(bool stubborn = false) : stubborn_(stubborn)
    {
        setObjectName(QStringLiteral("frmTest"));
        setWindowTitle(QStringLiteral("Statement"));
        auto* figure = new QLabel(QStringLiteral("42"), this);
        figure->setObjectName(QStringLiteral("lblFigure"));
        auto* ok = new QPushButton(QStringLiteral("OK"), this);
        ok->setObjectName(QStringLiteral("cmdOK"));
        ok->move(0, 30);
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
        ok->setFocus();
    }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        if (stubborn_)
            event->ignore();
        else
            QDialog::closeEvent(event);
    }

private:
    bool stubborn_;
};

enum class Opens { Nothing, Message, Statement, Stubborn };

std::unique_ptr<QDialog> make(Opens opens)
{
    switch (opens) {
    case Opens::Nothing:
        return {};
    case Opens::Message:
        return std::make_unique<QMessageBox>(QMessageBox::Warning, QStringLiteral("Title"),
                                             QStringLiteral("Text"), QMessageBox::Ok);
    case Opens::Statement:
        return std::make_unique<Statement>();
    case Opens::Stubborn:
        return std::make_unique<Statement>(true);
    }
    return {};
}

// Counts the key presses a box receives.
class KeyCounter : public QObject {
public:
    int presses = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        presses += event->type() == QEvent::KeyPress ? 1 : 0;
        return false;
    }
};

} // namespace

class WindowTestHelpersTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup()
    {
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QTRY_COMPARE(visibleTopLevelCount(), 0);
    }

    void watch_data()
    {
        QTest::addColumn<int>("opens");
        QTest::addColumn<ModalWatch::Action>("act");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<QString>("why");
        QTest::addColumn<QString>("className");
        QTest::addColumn<QStringList>("texts");

        const ModalWatch::Action nothing = [](QWidget*, ModalSeen&) {};
        QTest::newRow("message dismissed with OK")
            << int(Opens::Message) << ModalWatch::pressOk() << true << "" << "QMessageBox"
            << QStringList{"<no lblFigure>"};
        QTest::newRow("statement read, then OK") << int(Opens::Statement) << ModalWatch::pressOk()
                                                 << true << "" << "QDialog" << QStringList{"42"};
        QTest::newRow("statement closed from its title bar")
            << int(Opens::Statement) << ModalWatch::closeBox() << true << "" << "QDialog"
            << QStringList{"42"};
        QTest::newRow("nothing opens") << int(Opens::Nothing) << ModalWatch::pressOk() << false
                                       << "no modal window appeared within 300 ms" << ""
                                       << QStringList{};
        QTest::newRow("action leaves the window open")
            << int(Opens::Statement) << nothing << false << "was still open after its action"
            << "QDialog" << QStringList{"42"};
        QTest::newRow("action presses a missing button")
            << int(Opens::Statement) << ModalWatch::press(QStringLiteral("cmdNone")) << false
            << "has no button cmdNone" << "QDialog" << QStringList{"42"};
        QTest::newRow("window ignores its close box")
            << int(Opens::Stubborn) << ModalWatch::closeBox() << false
            << "was still open after its action" << "QDialog" << QStringList{"42"};
    }
    void watch()
    {
        QFETCH(int, opens);
        QFETCH(ModalWatch::Action, act);
        QFETCH(bool, closed);
        QFETCH(QString, why);
        QFETCH(QString, className);
        QFETCH(QStringList, texts);

        const std::unique_ptr<QDialog> window = make(Opens(opens));
        QElapsedTimer clock;
        clock.start();
        ModalWatch watch({"lblFigure"}, act, kLimitMs);
        if (window)
            window->exec(); // returns only when something closes it
        QCOMPARE(watch.closed(), closed);
        // Waiting for a window that never comes ends at the limit, not much after it.
        if (!window)
            QVERIFY2(clock.elapsed() < kLimitMs + 2000,
                     qPrintable(QString::number(clock.elapsed())));
        QVERIFY2(QString::fromUtf8(watch.why()).contains(why), watch.why());
        QCOMPARE(watch.seen().className, className);
        QCOMPARE(watch.seen().texts, texts);
        if (window)
            QVERIFY(!window->isVisible());
    }

    // A window already open when a watch begins is not its window; an inner watch's
    // failure is the outer watch's failure too.
    void innerWindows()
    {
        ModalWatch outer({}, [](QWidget* window, ModalSeen& seen) {
            ModalWatch inner({}, [](QWidget*, ModalSeen&) {}, kLimitMs);
            QMessageBox message(QMessageBox::NoIcon, QStringLiteral("Title"),
                                QStringLiteral("Inner"), QMessageBox::Ok, window);
            message.exec();
            (void)inner.closed();
            seen.inner << inner.seen();
            window->close();
        });
        Statement statement;
        statement.exec();
        QVERIFY(!outer.closed());
        QCOMPARE(outer.seen().name, QStringLiteral("frmTest"));
        QCOMPARE(outer.seen().inner.size(), 1);
        QCOMPARE(outer.seen().inner.first().text, QStringLiteral("Inner"));
        QVERIFY2(QString::fromUtf8(outer.why()).startsWith(QStringLiteral("frmTest, then ")),
                 outer.why());
    }

    // A watch that saw no window fails the test when it goes, and its timer goes with
    // it: the next window is not its to act on.
    void goneWatchNeverActs()
    {
        auto acted = std::make_shared<bool>(false);
        {
            QEXPECT_FAIL("", "a watch that saw no window fails the test", Continue);
            ModalWatch gone({}, [acted](QWidget*, ModalSeen&) { *acted = true; });
        }
        ModalWatch next;
        Statement statement;
        statement.exec();
        QVERIFY2(next.closed(), next.why());
        QVERIFY(!*acted);
    }

    // A modal window that no watch takes is closed within the limit, and the test fails.
    void guardClosesAnUnwatchedWindow()
    {
        Statement statement;
        QElapsedTimer clock;
        clock.start();
        QEXPECT_FAIL("", "the guard fails a test that leaves a modal window open", Continue);
        statement.exec();
        QVERIFY(clock.elapsed() >= kModalLimitMs);
        QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!statement.isVisible());
    }

    void typeInto_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("pasted");
        QTest::newRow("digits") << "12345" << false;
        QTest::newRow("grouped, with spaces") << " 10,500 " << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("full-width digits") << "１２３" << true;
        QTest::newRow("control characters") << "1\u00012" << true;
        QTest::newRow("too long to type") << QString(300, u'9') << true;
    }
    void typeInto()
    {
        QFETCH(QString, text);
        QFETCH(bool, pasted);
        QLineEdit box(QStringLiteral("old"));
        KeyCounter counter;
        box.installEventFilter(&counter);
        support::typeInto(&box, text);
        QCOMPARE(box.text(), text);
        // Delete clears the old text; then one press per character, or Ctrl and V.
        QCOMPARE(counter.presses, 1 + (pasted ? 2 : int(text.size())));
    }

    void typeIntoFailsWhenTheBoxRefuses()
    {
        QLineEdit box;
        box.setMaxLength(3);
        QEXPECT_FAIL("", "the box keeps only three characters", Continue);
        support::typeInto(&box, QStringLiteral("12345"));
        QCOMPARE(box.text(), QStringLiteral("123"));
    }

    void childNamesWhatIsMissing()
    {
        QWidget window;
        window.setObjectName(QStringLiteral("frmTest"));
        QEXPECT_FAIL("", "frmTest has no txtNone", Continue);
        QLineEdit* missing = child<QLineEdit>(&window, QStringLiteral("txtNone"));
        QCOMPARE(missing, nullptr);
        QCOMPARE(textOf(&window, QStringLiteral("txtNone")), QStringLiteral("<no txtNone>"));
    }

    void tabSequenceFollowsTheFocusChain()
    {
        QWidget window;
        QList<QLineEdit*> boxes;
        for (const char* name : {"txtA", "txtB", "txtC"}) {
            boxes << new QLineEdit(&window);
            boxes.last()->setObjectName(QString::fromLatin1(name));
        }
        new QLabel(QStringLiteral("takes no focus"), &window);
        QWidget::setTabOrder(boxes[0], boxes[2]);
        QWidget::setTabOrder(boxes[2], boxes[1]);
        boxes[0]->setFocus();
        QVERIFY(showAndActivate(&window));
        QCOMPARE(tabSequence(&window), (QStringList{"txtA", "txtC", "txtB"}));
    }
};

#include "test_main.h"
MIROVEN_TEST_MAIN(WindowTestHelpersTest)
#include "tst_window_test_helpers.moc"
