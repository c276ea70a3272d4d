#include "app/instance_lock.h"
#include "app/startup.h"
#include "core/calc_record.h"

#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>
#include <vector>

// Every test points the lock at a temporary directory, never at the user's own.

namespace {

using Result = InstanceLock::Result;

// A pipe whose ends close with it.
struct Pipe {
    int read = -1;
    int write = -1;
    Pipe()
    {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) == 0) {
            read = fds[0];
            write = fds[1];
        }
    }
    ~Pipe()
    {
        closeRead();
        closeWrite();
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
    void closeRead()
    {
        if (read >= 0)
            ::close(read);
        read = -1;
    }
    void closeWrite()
    {
        if (write >= 0)
            ::close(write);
        write = -1;
    }
};

// Blocks until the other side writes a byte or closes; the byte, or 0 at the end.
char readByte(int fd)
{
    char byte = 0;
    ssize_t got;
    while ((got = ::read(fd, &byte, 1)) < 0 && errno == EINTR) {
    }
    return got == 1 ? byte : 0;
}

// Child processes that try the lock: each waits at `start` until the parent closes
// it, tries, reports 'A' (acquired), 'H' (held by another) or 'U' on `results`, and
// then keeps what it got until the parent closes `hold`. Whatever still runs when
// this goes away is killed and reaped, so a failed check leaves no process behind.
class Contenders {
public:
    ~Contenders()
    {
        for (pid_t pid : pids_)
            end(pid, SIGKILL);
    }

    // Only system calls between fork() and _exit(): the test runs a QApplication.
    bool start(const QString& directory, int count)
    {
        if (start_.read < 0 || hold_.read < 0 || results_.read < 0)
            return false;
        InstanceLock lock(directory);
        for (int i = 0; i < count; ++i) {
            const pid_t pid = fork();
            if (pid < 0)
                return false;
            if (pid == 0) {
                ::close(start_.write);
                ::close(hold_.write);
                ::close(results_.read);
                readByte(start_.read);
                const Result got = lock.acquire();
                const char byte = got == Result::Acquired ? 'A' : got == Result::HeldByAnother ? 'H' : 'U';
                if (::write(results_.write, &byte, 1) != 1)
                    _exit(2);
                readByte(hold_.read);
                _exit(0);
            }
            pids_.push_back(pid);
        }
        start_.closeWrite(); // go
        return true;
    }

    // Each contender's report, in the order they came.
    QByteArray results(int count)
    {
        QByteArray all;
        while (all.size() < count) {
            const char byte = readByte(results_.read);
            if (!byte)
                break;
            all.append(byte);
        }
        return all;
    }

    // Every contender lets go and ends normally.
    void release()
    {
        hold_.closeWrite();
        for (pid_t pid : pids_)
            end(pid, 0);
        pids_.clear();
    }

    [[nodiscard]] const std::vector<pid_t>& pids() const { return pids_; }

    // Sends `signal` (if any) and reaps.
    static void end(pid_t pid, int signal)
    {
        if (signal)
            ::kill(pid, signal);
        while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }

private:
    Pipe start_;
    Pipe hold_;
    Pipe results_;
    std::vector<pid_t> pids_;
};

QByteArray fileContents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

mode_t modeOf(const QString& path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : mode_t(-1);
}

QStringList entriesOf(const QString& directory)
{
    return QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// What is at the lock's place before a copy starts.
enum class Setup {
    NoDirectoryGiven,
    MissingDirectory,
    FileInsteadOfDirectory,
    DirectoryOpenToGroup,
    DirectoryOpenToAll,
    DirectoryOfAnotherUser,
    LockFileIsALink,
    LockFileIsADirectory,
    LockFileOfAnotherUser,
};

constexpr uid_t kNobody = 65534;

// Owned by the test function: from the event loop, notes every window that shows
// (class, title, a message box's text, icon and buttons) and whether the lock in
// `lockDirectory` is held by someone meanwhile, then closes it. After 5 s it closes
// everything and ends the event loop, so a wrong expectation fails instead of hanging.
class WindowCloser {
public:
    explicit WindowCloser(QString lockDirectory) : lockDirectory_(std::move(lockDirectory))
    {
        clock_.start();
        poll_.setInterval(20);
        QObject::connect(&poll_, &QTimer::timeout, [this] { look(); });
        poll_.start();
    }

    [[nodiscard]] const QStringList& seen() const { return seen_; }
    [[nodiscard]] const QList<bool>& lockHeld() const { return lockHeld_; }

private:
    void look()
    {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!w->isVisible())
                continue;
            QString what = QStringLiteral("%1 \"%2\"").arg(QString::fromLatin1(w->metaObject()->className()),
                                                            w->windowTitle());
            if (auto* box = qobject_cast<QMessageBox*>(w))
                what += QStringLiteral(": %1 (%2 icon, %3 button%4)")
                            .arg(box->text(), box->icon() == QMessageBox::Warning ? QStringLiteral("warning")
                                                                                   : QStringLiteral("another"))
                            .arg(box->buttons().size())
                            .arg(box->buttons().size() == 1 ? QString() : QStringLiteral("s"));
            seen_ << what;
            InstanceLock probe(lockDirectory_);
            lockHeld_ << (probe.acquire() == Result::HeldByAnother);
            w->close();
        }
        if (clock_.elapsed() > 5000) {
            seen_ << QStringLiteral("(gave up after 5 s)");
            QApplication::closeAllWindows();
            QApplication::exit(0);
        }
    }

    QString lockDirectory_;
    QStringList seen_;
    QList<bool> lockHeld_;
    QElapsedTimer clock_;
    QTimer poll_; // last: stops before the state it writes goes away
};

} // namespace

class InstanceLockTest : public QObject {
    Q_OBJECT
private slots:
    void heldLockRefusesOthersUntilReleased()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(InstanceLock::kFileName);
        {
            InstanceLock first(dir.path());
            QCOMPARE(first.acquire(), Result::Acquired);
            InstanceLock second(dir.path());
            QCOMPARE(second.acquire(), Result::HeldByAnother);
            QCOMPARE(second.acquire(), Result::HeldByAnother);
            QCOMPARE(first.acquire(), Result::Acquired); // asking again changes nothing
            QCOMPARE(fileContents(path), QByteArray::number(getpid()) + '\n');
        }
        QVERIFY2(QFile::exists(path), "the lock file must stay in place");
        InstanceLock after(dir.path());
        QCOMPARE(after.acquire(), Result::Acquired);
    }

    // A copy in another process holds the lock for as long as it lives, however it ends.
    void lockEndsWithItsHolder_data()
    {
        QTest::addColumn<int>("ending"); // 0: still runs, 1: exits, 2: killed with SIGKILL
        QTest::addColumn<Result>("expected");
        QTest::newRow("holder still runs") << 0 << Result::HeldByAnother;
        QTest::newRow("holder exited without letting go") << 1 << Result::Acquired;
        QTest::newRow("holder killed") << 2 << Result::Acquired;
    }
    void lockEndsWithItsHolder()
    {
        QFETCH(int, ending);
        QFETCH(Result, expected);
        QTemporaryDir dir;
        Contenders holder;
        QVERIFY(holder.start(dir.path(), 1));
        QCOMPARE(holder.results(1), QByteArray("A"));
        if (ending == 1)
            holder.release();
        else if (ending == 2)
            Contenders::end(holder.pids().front(), SIGKILL);
        InstanceLock next(dir.path());
        QCOMPARE(next.acquire(), expected);
        QVERIFY(QFile::exists(dir.filePath(InstanceLock::kFileName)));
    }

    // Copies that try at the same moment, many times over: exactly one gets the lock,
    // whether the race also creates the file or finds it there.
    void simultaneousAttemptsHaveOneWinner_data()
    {
        QTest::addColumn<int>("copies");
        QTest::addColumn<int>("rounds");
        QTest::addColumn<bool>("fileExists");
        QTest::newRow("2 copies, new file") << 2 << 50 << false;
        QTest::newRow("2 copies, file left behind") << 2 << 50 << true;
        QTest::newRow("5 copies, new file") << 5 << 20 << false;
        QTest::newRow("16 copies, file left behind") << 16 << 10 << true;
    }
    void simultaneousAttemptsHaveOneWinner()
    {
        QFETCH(int, copies);
        QFETCH(int, rounds);
        QFETCH(bool, fileExists);
        QTemporaryDir base;
        for (int round = 1; round <= rounds; ++round) {
            const QString dir = base.filePath(QString::number(round));
            QVERIFY(QDir().mkdir(dir));
            QVERIFY(QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
            if (fileExists) {
                QFile left(QDir(dir).filePath(InstanceLock::kFileName));
                QVERIFY(left.open(QIODevice::WriteOnly));
            }
            Contenders contenders;
            QVERIFY(contenders.start(dir, copies));
            QByteArray results = contenders.results(copies);
            contenders.release();
            std::sort(results.begin(), results.end());
            QCOMPARE(results, "A" + QByteArray(copies - 1, 'H'));
        }
    }

    // Whatever a lock file holds (a copy killed while writing it, another program's
    // lock, the PID of a process that lives), it never keeps a copy from starting:
    // only a live lock does.
    void leftoverFileNeverBlocks_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("garbage") << QByteArray("\x01\x02not a lock\n");
        QTest::newRow("PID of a live process") << QByteArray::number(getpid()) + '\n';
        QTest::newRow("PID, program and host") << QByteArray("1\nmiroven\nlocalhost\n");
    }
    void leftoverFileNeverBlocks()
    {
        QFETCH(QByteArray, contents);
        QTemporaryDir dir;
        const QString path = dir.filePath(InstanceLock::kFileName);
        QFile planted(path);
        QVERIFY(planted.open(QIODevice::WriteOnly));
        planted.write(contents);
        planted.close();
        QVERIFY(planted.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));

        InstanceLock next(dir.path());
        QCOMPARE(next.acquire(), Result::Acquired);
        QCOMPARE(fileContents(path), QByteArray::number(getpid()) + '\n');
        QCOMPARE(modeOf(path), mode_t(0600));
        InstanceLock another(dir.path());
        QCOMPARE(another.acquire(), Result::HeldByAnother);
    }

    // The lock file is made owner-only whatever the process's umask.
    void newFileIsOwnerOnly_data()
    {
        QTest::addColumn<int>("mask");
        QTest::newRow("umask 000") << 0;
        QTest::newRow("umask 022") << 022;
        QTest::newRow("umask 277") << 0277;
    }
    void newFileIsOwnerOnly()
    {
        QFETCH(int, mask);
        QTemporaryDir dir;
        const mode_t before = umask(mode_t(mask));
        InstanceLock lock(dir.path());
        const Result got = lock.acquire();
        umask(before);
        QCOMPARE(got, Result::Acquired);
        QCOMPARE(modeOf(dir.filePath(InstanceLock::kFileName)), mode_t(0600));
    }

    // Where the lock cannot be made safely, there is none (and the program starts
    // without it); nothing is created or changed there.
    void unsafePlacesGiveNoLock_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::newRow("no directory given") << Setup::NoDirectoryGiven;
        QTest::newRow("directory missing") << Setup::MissingDirectory;
        QTest::newRow("a file instead of a directory") << Setup::FileInsteadOfDirectory;
        QTest::newRow("directory open to its group") << Setup::DirectoryOpenToGroup;
        QTest::newRow("directory open to everyone") << Setup::DirectoryOpenToAll;
        QTest::newRow("directory of another user") << Setup::DirectoryOfAnotherUser;
        QTest::newRow("lock file is a symbolic link") << Setup::LockFileIsALink;
        QTest::newRow("lock file is a directory") << Setup::LockFileIsADirectory;
        QTest::newRow("lock file of another user") << Setup::LockFileOfAnotherUser;
    }
    void unsafePlacesGiveNoLock()
    {
        QFETCH(Setup, setup);
        const bool foreign = setup == Setup::DirectoryOfAnotherUser || setup == Setup::LockFileOfAnotherUser;
        if (foreign && geteuid() != 0)
            QSKIP("giving a file to another user needs root");
        QTemporaryDir base;
        QString dir = base.filePath(QStringLiteral("runtime"));
        const QString lockPath = QDir(dir).filePath(InstanceLock::kFileName);
        const QString elsewhere = base.filePath(QStringLiteral("elsewhere"));
        const auto encoded = [](const QString& path) { return QFile::encodeName(path); };
        if (setup != Setup::MissingDirectory && setup != Setup::FileInsteadOfDirectory)
            QCOMPARE(::mkdir(encoded(dir).constData(), 0700), 0);
        switch (setup) {
        case Setup::NoDirectoryGiven:
            dir.clear();
            break;
        case Setup::MissingDirectory:
            break;
        case Setup::FileInsteadOfDirectory:
            QVERIFY(QFile(dir).open(QIODevice::WriteOnly));
            break;
        case Setup::DirectoryOpenToGroup:
            QCOMPARE(::chmod(encoded(dir).constData(), 0770), 0);
            break;
        case Setup::DirectoryOpenToAll:
            QCOMPARE(::chmod(encoded(dir).constData(), 0777), 0);
            break;
        case Setup::DirectoryOfAnotherUser:
            QCOMPARE(::chown(encoded(dir).constData(), kNobody, kNobody), 0);
            break;
        case Setup::LockFileIsALink:
            QCOMPARE(::symlink(encoded(elsewhere).constData(), encoded(lockPath).constData()), 0);
            break;
        case Setup::LockFileIsADirectory:
            QCOMPARE(::mkdir(encoded(lockPath).constData(), 0700), 0);
            break;
        case Setup::LockFileOfAnotherUser:
            QVERIFY(QFile(lockPath).open(QIODevice::WriteOnly));
            QCOMPARE(::chown(encoded(lockPath).constData(), kNobody, kNobody), 0);
            break;
        }
        const QStringList before = entriesOf(dir);
        const mode_t lockModeBefore = modeOf(lockPath);

        InstanceLock lock(dir);
        QCOMPARE(lock.acquire(), Result::Unavailable);
        QCOMPARE(entriesOf(dir), before);
        QCOMPARE(modeOf(lockPath), lockModeBefore);
        QVERIFY2(!QFileInfo::exists(elsewhere), "the lock followed a link");
    }

    // A second copy shows only the refusal and leaves the running copy's lock alone.
    void duplicateStartIsRefusedWithoutAWindow()
    {
        QTemporaryDir dir;
        InstanceLock running(dir.path());
        QCOMPARE(running.acquire(), Result::Acquired);

        WindowCloser closer(dir.path());
        CalcRecord record;
        QCOMPARE(runMiroven(record, dir.path()), 0);
        QCOMPARE(closer.seen(), QStringList{QStringLiteral(
                                    "QMessageBox \"ロードエラー\": このアプリケーションはすでに開かれています。 "
                                    "(warning icon, 1 button)")});
        QCOMPARE(closer.lockHeld(), QList<bool>{true}); // still the running copy's
        InstanceLock third(dir.path());
        QCOMPARE(third.acquire(), Result::HeldByAnother);
    }

    // The main menu shows whether or not a lock could be made: no lock is no reason
    // to shut the user out. While it shows, its copy holds the lock if there is one.
    void startShowsTheMenu_data()
    {
        QTest::addColumn<int>("directoryMode"); // 0: the directory does not exist
        QTest::addColumn<bool>("locked");
        QTest::newRow("private directory") << 0700 << true;
        QTest::newRow("directory open to everyone") << 0777 << false;
        QTest::newRow("no directory") << 0 << false;
    }
    void startShowsTheMenu()
    {
        QFETCH(int, directoryMode);
        QFETCH(bool, locked);
        QTemporaryDir base;
        const QString dir = base.filePath(QStringLiteral("runtime"));
        if (directoryMode) {
            QCOMPARE(::mkdir(QFile::encodeName(dir).constData(), 0700), 0);
            QCOMPARE(::chmod(QFile::encodeName(dir).constData(), mode_t(directoryMode)), 0);
        }

        WindowCloser closer(dir);
        CalcRecord record;
        QCOMPARE(runMiroven(record, dir), 0);
        QCOMPARE(closer.seen(), QStringList{QStringLiteral("frmmain \"Miroven\"")});
        QCOMPARE(closer.lockHeld(), QList<bool>{locked});
    }
};

#include "test_main.h"
MIROVEN_TEST_MAIN(InstanceLockTest)
#include "tst_instance_lock.moc"
