#include "app/instance_lock.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "core/calc_record.h"
#include "support/modal.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/wait.h>
#include <unistd.h>

// Every test points the lock at a temporary directory, never at the user's own.
class InstanceLockTest : public QObject {
    Q_OBJECT
private slots:
    void secondHolderIsRefusedWhileTheFirstLives()
    {
        QTemporaryDir dir;
        {
            InstanceLock first(dir.path());
            QCOMPARE(first.acquire(), InstanceLock::Result::Acquired);
            InstanceLock second(dir.path());
            QCOMPARE(second.acquire(), InstanceLock::Result::HeldByAnother);
        }
        InstanceLock after(dir.path());
        QCOMPARE(after.acquire(), InstanceLock::Result::Acquired);
    }

    void lockOfADeadCopyIsTakenOver()
    {
        QTemporaryDir dir;
        const pid_t child = fork();
        if (child == 0) {
            // A copy that dies without cleaning up after itself.
            InstanceLock lock(dir.path());
            _exit(lock.acquire() == InstanceLock::Result::Acquired ? 0 : 1);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        QVERIFY(QFile::exists(dir.filePath(InstanceLock::kFileName)));

        InstanceLock next(dir.path());
        QCOMPARE(next.acquire(), InstanceLock::Result::Acquired);
    }

    // What a copy killed between creating the lock file and writing it leaves behind.
    void unreadableLockIsTakenOver_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("garbage") << QByteArray("\x01\x02not a lock\n");
    }
    void unreadableLockIsTakenOver()
    {
        QFETCH(QByteArray, contents);
        QTemporaryDir dir;
        QFile planted(dir.filePath(InstanceLock::kFileName));
        QVERIFY(planted.open(QIODevice::WriteOnly));
        planted.write(contents);
        planted.close();
        InstanceLock next(dir.path());
        QCOMPARE(next.acquire(), InstanceLock::Result::Acquired);
        InstanceLock another(dir.path());
        QCOMPARE(another.acquire(), InstanceLock::Result::HeldByAnother);
    }

    void noDirectoryMeansNoLock()
    {
        InstanceLock lock(QStringLiteral("/nonexistent/miroven-test"));
        QCOMPARE(lock.acquire(), InstanceLock::Result::Unavailable);
        InstanceLock none{QString()};
        QCOMPARE(none.acquire(), InstanceLock::Result::Unavailable);
    }

    void duplicateStartIsRefusedWithoutAWindow()
    {
        QTemporaryDir dir;
        InstanceLock running(dir.path());
        QCOMPARE(running.acquire(), InstanceLock::Result::Acquired);

        QString text, title;
        int icon = 0;
        int buttons = 0;
        bool mainShown = false;
        whenModalAppears([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            text = box->text();
            title = box->windowTitle();
            icon = box->icon();
            buttons = box->buttons().size();
            for (QWidget* w : QApplication::topLevelWidgets())
                mainShown |= qobject_cast<frmmain*>(w) != nullptr;
            box->button(QMessageBox::Ok)->click();
        });
        CalcRecord record;
        QCOMPARE(runMiroven(record, dir.path()), 0);
        QCOMPARE(text, QStringLiteral("このアプリケーションはすでに開かれています。"));
        QCOMPARE(title, QStringLiteral("ロードエラー"));
        QCOMPARE(icon, int(QMessageBox::Warning));
        QCOMPARE(buttons, 1);
        QVERIFY(!mainShown);
        QCOMPARE(visibleTopLevelCount(), 0);

        // The copy already running still holds its lock.
        InstanceLock third(dir.path());
        QCOMPARE(third.acquire(), InstanceLock::Result::HeldByAnother);
    }

    void firstStartShowsTheMenuUntilItCloses()
    {
        QTemporaryDir dir;
        QString shown;
        QTimer::singleShot(100, [&shown]() {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* menu = qobject_cast<frmmain*>(w); menu && menu->isVisible()) {
                    shown = menu->windowTitle();
                    menu->findChild<QPushButton*>("cmdCancel")->click();
                }
            }
        });
        CalcRecord record;
        QCOMPARE(runMiroven(record, dir.path()), 0);
        QCOMPARE(shown, QStringLiteral("Miroven"));
    }
};

QTEST_MAIN(InstanceLockTest)
#include "tst_instance_lock.moc"
