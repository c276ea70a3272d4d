// The single-instance rule under stress, tested from outside on the real program:
// copies started at the same moment, copies killed while holding the lock, and where
// the lock may live. Nothing inside the program is hooked; what the tests look at is
// the lock file, the files each process holds open (/proc) and, on a private Xvfb,
// the windows each copy maps.

#include "copies.h"
#include "x_windows.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <optional>

namespace {

const QString kLockName = QStringLiteral("miroven.lock");
const QString kMenuTitle = QStringLiteral("Miroven");
const QString kRefusalTitle = QStringLiteral("ロードエラー");

constexpr int kRounds = 20;          // races per number of copies
constexpr int kStaleRounds = 5;      // races over a dead copy's lock
constexpr int kScreenRounds = 3;     // races watched on the X server, slower
constexpr int kQuietMs = 100;        // idle this long after the lock is taken: start-up is over
constexpr int kTimeoutMs = 20000;    // for anything to happen at all; only reached on failure

struct Place {
    QString home;
    QString tmp;                    // TMPDIR: where a fallback runtime directory goes
    std::optional<QString> runtime; // XDG_RUNTIME_DIR, or unset
};

Environment environmentFor(const Place& place, const QString& display = {})
{
    Environment env{
        "PATH=/usr/bin:/bin",
        "LANG=C.UTF-8",
        "HOME=" + place.home.toStdString(),
        "TMPDIR=" + place.tmp.toStdString(),
        display.isEmpty() ? std::string("QT_QPA_PLATFORM=offscreen") : std::string("QT_QPA_PLATFORM=xcb"),
    };
    if (!display.isEmpty())
        env.push_back("DISPLAY=" + display.toStdString());
    if (place.runtime)
        env.push_back("XDG_RUNTIME_DIR=" + place.runtime->toStdString());
    return env;
}

// A fresh directory with the given mode.
QString makeDirectory(const QString& path, mode_t mode)
{
    if (!QDir().mkpath(path) || chmod(QFile::encodeName(path).constData(), mode) != 0)
        return {};
    return path;
}

QString joinPids(const std::vector<pid_t>& pids)
{
    QStringList list;
    for (pid_t pid : pids)
        list << QString::number(pid);
    return list.join(u' ');
}

// Which directory may hold the lock.
enum Where { Runtime, Fallback, Either };

// Where the program falls back to when the runtime directory is unset or unusable.
QString fallbackRuntimeDirectory(const QString& tmp)
{
    const passwd* user = getpwuid(geteuid());
    return QDir(tmp).filePath(QStringLiteral("runtime-") + QString::fromLocal8Bit(user ? user->pw_name : "unknown"));
}

} // namespace

class SingleInstanceStress : public QObject {
    Q_OBJECT

private:
    QTemporaryDir base_;
    int places_ = 0;

    Place newPlace(mode_t runtimeMode = 0700)
    {
        const QString root = base_.filePath(QStringLiteral("place-%1").arg(++places_));
        Place place;
        place.home = makeDirectory(root + QStringLiteral("/home"), 0700);
        place.tmp = makeDirectory(root + QStringLiteral("/tmp"), 0700);
        place.runtime = makeDirectory(root + QStringLiteral("/runtime"), runtimeMode);
        return place;
    }

    // After the copies have settled: every one still runs (the refused ones wait at
    // their message box), exactly one holds the lock file open, and the lock file
    // names that one.
    void checkOneHolder(CopyPool& pool, const std::vector<pid_t>& pids, const QString& lockPath,
                        const QString& round, pid_t* holder)
    {
        for (pid_t pid : pids)
            QVERIFY2(pool.running(pid), qPrintable(round + QStringLiteral(": ") + pool.describe(pid)));
        std::vector<pid_t> holders;
        for (pid_t pid : pids) {
            const QStringList open = openFilesNamed(pid, kLockName);
            if (!open.isEmpty())
                holders.push_back(pid);
            // Holding a lock file that was deleted under it would mean two copies won.
            QVERIFY2(open.isEmpty() || open == QStringList{lockPath},
                     qPrintable(QStringLiteral("%1: copy %2 holds %3").arg(round).arg(pid).arg(open.join(u','))));
        }
        QVERIFY2(holders.size() == 1, qPrintable(QStringLiteral("%1: copies holding the lock: [%2] of [%3]")
                                                     .arg(round, joinPids(holders), joinPids(pids))));
        const std::optional<pid_t> named = pidInLockFile(lockPath);
        QVERIFY2(named == holders.front(),
                 qPrintable(QStringLiteral("%1: the lock file names %2, but copy %3 holds it")
                                .arg(round, named ? QString::number(*named) : QStringLiteral("no PID"))
                                .arg(holders.front())));
        *holder = holders.front();
    }

    // Starts `count` copies together on `place` (offscreen) and checks that exactly one
    // runs with the lock: that one is `*winner`.
    void race(CopyPool& pool, const Place& place, int count, const QString& round, pid_t* winner)
    {
        const std::vector<pid_t> pids = pool.startTogether(count, environmentFor(place));
        QVERIFY2(int(pids.size()) == count, qPrintable(round + QStringLiteral(": could not start the copies")));
        const QString lockPath = QDir(*place.runtime).filePath(kLockName);
        // Some copy takes the lock first; the others settle at their refusal after that.
        const Waited taken = waitFor([&] { return pidInLockFile(lockPath).has_value(); }, pids, kQuietMs, kTimeoutMs);
        QVERIFY2(taken != Waited::TimedOut, qPrintable(round + QStringLiteral(": the copies did not settle in time")));
        QVERIFY2(taken == Waited::Done, qPrintable(round + QStringLiteral(": no copy took the lock")));
        QVERIFY2(waitFor(nullptr, pids, kQuietMs, kTimeoutMs) == Waited::Idle,
                 qPrintable(round + QStringLiteral(": the copies did not settle in time")));
        checkOneHolder(pool, pids, lockPath, round, winner);
    }

    // The single copy `pid` takes the lock at `lockPath`, writes its PID into it and
    // still holds it once its start-up is over.
    void checkTakesTheLock(CopyPool& pool, pid_t pid, const QString& lockPath, const QString& round)
    {
        const auto holds = [&] {
            return openFilesNamed(pid, kLockName) == QStringList{lockPath} && pidInLockFile(lockPath) == pid;
        };
        const Waited waited = waitFor(holds, {pid}, kQuietMs, kTimeoutMs);
        QVERIFY2(pool.running(pid), qPrintable(round + QStringLiteral(": ") + pool.describe(pid)));
        QVERIFY2(waited != Waited::TimedOut, qPrintable(round + QStringLiteral(": the copy did not settle in time")));
        QVERIFY2(waited == Waited::Done,
                 qPrintable(round + QStringLiteral(": copy %1 did not take the lock; it holds [%2], the file names %3")
                                .arg(pid)
                                .arg(openFilesNamed(pid, kLockName).join(u','))
                                .arg(pidInLockFile(lockPath).value_or(0))));
        QVERIFY2(waitFor(nullptr, {pid}, kQuietMs, kTimeoutMs) == Waited::Idle,
                 qPrintable(round + QStringLiteral(": the copy did not settle in time")));
        QVERIFY2(pool.running(pid) && holds(),
                 qPrintable(round + QStringLiteral(": copy %1 let go of the lock").arg(pid)));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(base_.isValid());
        QVERIFY2(QFileInfo(QStringLiteral(MIROVEN_BINARY)).isExecutable(), MIROVEN_BINARY);
    }

    // Copies started at the same moment, many times over: exactly one runs and holds
    // the lock, the others are refused and wait at their message. Then the one that
    // runs is killed with SIGKILL, leaving its lock file behind, and the next start
    // takes the lock over while the refused copies still wait.
    void simultaneousStartsLeaveOneRunning_data()
    {
        QTest::addColumn<int>("copies");
        QTest::newRow("2 copies") << 2;
        QTest::newRow("5 copies") << 5;
    }

    void simultaneousStartsLeaveOneRunning()
    {
        QFETCH(int, copies);
        for (int round = 1; round <= kRounds; ++round) {
            const QString name = QStringLiteral("round %1 of %2").arg(round).arg(kRounds);
            CopyPool pool(MIROVEN_BINARY, base_.path());
            const Place place = newPlace();
            QVERIFY(place.runtime && !place.runtime->isEmpty());
            pid_t winner = 0;
            race(pool, place, copies, name, &winner);
            if (QTest::currentTestFailed())
                return;

            pool.kill(winner);
            const QString lockPath = QDir(*place.runtime).filePath(kLockName);
            QVERIFY2(QFile::exists(lockPath), qPrintable(name + QStringLiteral(": the killed copy left no lock")));
            const std::vector<pid_t> next = pool.startTogether(1, environmentFor(place));
            QCOMPARE(next.size(), std::size_t(1));
            checkTakesTheLock(pool, next.front(), lockPath, name);
            if (QTest::currentTestFailed())
                return;
        }
    }

    // Several copies racing over the lock of a copy killed with SIGKILL: taking over a
    // dead copy's lock is a second path through the lock, with a removal in it.
    void simultaneousStartsOverAStaleLock()
    {
        for (int round = 1; round <= kStaleRounds; ++round) {
            const QString name = QStringLiteral("round %1 of %2").arg(round).arg(kStaleRounds);
            CopyPool pool(MIROVEN_BINARY, base_.path());
            const Place place = newPlace();
            QVERIFY(place.runtime && !place.runtime->isEmpty());
            const std::vector<pid_t> first = pool.startTogether(1, environmentFor(place));
            QCOMPARE(first.size(), std::size_t(1));
            checkTakesTheLock(pool, first.front(), QDir(*place.runtime).filePath(kLockName), name);
            if (QTest::currentTestFailed())
                return;
            pool.kill(first.front());
            pid_t winner = 0;
            race(pool, place, 5, name, &winner);
            if (QTest::currentTestFailed())
                return;
            QVERIFY(winner != first.front());
        }
    }

    // The lock file is created first and written after: a copy killed in between (as
    // SIGKILL or the OOM killer may do at any moment) leaves an empty file. Such a
    // lock names no owner that could still be running, so the next start must take it
    // over rather than refuse for as long as the file exists; and of several copies
    // starting at once over it, exactly one.
    void emptyLockOfAKilledCopyIsRecovered_data()
    {
        QTest::addColumn<int>("copies");
        QTest::newRow("1 copy") << 1;
        QTest::newRow("5 copies") << 5;
    }

    void emptyLockOfAKilledCopyIsRecovered()
    {
        QFETCH(int, copies);
        const Place place = newPlace();
        const QString lockPath = QDir(*place.runtime).filePath(kLockName);
        QFile left(lockPath);
        QVERIFY(left.open(QIODevice::WriteOnly));
        left.close();

        CopyPool pool(MIROVEN_BINARY, base_.path());
        const std::vector<pid_t> pids = pool.startTogether(copies, environmentFor(place));
        QCOMPARE(int(pids.size()), copies);
        QVERIFY(waitFor([&] { return pidInLockFile(lockPath).has_value(); }, pids, kQuietMs, kTimeoutMs)
                != Waited::TimedOut);
        QVERIFY(waitFor(nullptr, pids, kQuietMs, kTimeoutMs) == Waited::Idle);
        std::vector<pid_t> holders;
        for (pid_t pid : pids) {
            QVERIFY2(pool.running(pid), qPrintable(pool.describe(pid)));
            if (!openFilesNamed(pid, kLockName).isEmpty())
                holders.push_back(pid);
        }
        const bool oneTookItOver = holders.size() == 1
            && openFilesNamed(holders.front(), kLockName) == QStringList{lockPath}
            && pidInLockFile(lockPath) == holders.front();
        QVERIFY2(oneTookItOver, qPrintable(QStringLiteral("copies holding the lock: [%1] of [%2]")
                                               .arg(joinPids(holders), joinPids(pids))));
    }

    // The outcome as the user sees it, on an X server: the copy holding the lock maps
    // the main menu, every other copy maps the refusal and nothing else. (Offscreen,
    // a copy that ran without taking the lock would look like a refused one.)
    void refusedCopiesShowOnlyTheirMessage_data()
    {
        QTest::addColumn<int>("copies");
        QTest::newRow("2 copies") << 2;
        QTest::newRow("5 copies") << 5;
    }

    void refusedCopiesShowOnlyTheirMessage()
    {
        QFETCH(int, copies);
        VirtualScreen screen;
        if (!screen.ok())
            QSKIP(qPrintable(screen.error()));
        for (int round = 1; round <= kScreenRounds; ++round) {
            const QString name = QStringLiteral("round %1 of %2").arg(round).arg(kScreenRounds);
            CopyPool pool(MIROVEN_BINARY, base_.path());
            const Place place = newPlace();
            MapWatcher watcher(screen.display());
            QVERIFY(watcher.ok());
            const std::vector<pid_t> pids = pool.startTogether(copies, environmentFor(place, screen.display()));
            QCOMPARE(int(pids.size()), copies);
            const auto everyCopyMapped = [&pids](const std::vector<MappedWindow>& windows) {
                return std::all_of(pids.begin(), pids.end(), [&windows](pid_t pid) {
                    return std::any_of(windows.begin(), windows.end(),
                                       [pid](const MappedWindow& w) { return w.pid == pid; });
                });
            };
            const std::vector<MappedWindow> windows = watcher.gather(everyCopyMapped, kTimeoutMs, 500);

            QStringList seen;
            for (const MappedWindow& w : windows)
                seen << QStringLiteral("%1 \"%2\"").arg(w.pid).arg(w.title);
            const QString report = name + QStringLiteral(": windows mapped: ") + seen.join(QStringLiteral(", "));
            QVERIFY2(everyCopyMapped(windows), qPrintable(report));
            QCOMPARE(int(windows.size()), copies);
            const auto menus = std::count_if(windows.begin(), windows.end(),
                                             [](const MappedWindow& w) { return w.title == kMenuTitle; });
            const auto refusals = std::count_if(windows.begin(), windows.end(),
                                                [](const MappedWindow& w) { return w.title == kRefusalTitle; });
            QVERIFY2(menus == 1 && refusals == copies - 1, qPrintable(report));
            const auto menu = std::find_if(windows.begin(), windows.end(),
                                           [](const MappedWindow& w) { return w.title == kMenuTitle; });
            const QString lockPath = QDir(*place.runtime).filePath(kLockName);
            QCOMPARE(pidInLockFile(lockPath), std::optional<pid_t>(menu->pid));
            QCOMPARE(openFilesNamed(menu->pid, kLockName), QStringList{lockPath});
        }
    }

    // Wherever the lock ends up, it is in a directory only this user can enter, in a
    // file this user owns that nobody else may write. A runtime directory that belongs
    // to someone else is never used; one that others could enter is used only once it
    // has been made owner-only (Qt either corrects its mode or falls back to
    // $TMPDIR/runtime-$USER, depending on its version).

    void lockLivesInAPrivateDirectory_data()
    {
        QTest::addColumn<int>("runtimeMode");   // 0: XDG_RUNTIME_DIR unset
        QTest::addColumn<bool>("foreignOwner"); // the runtime directory is another user's
        QTest::addColumn<int>("where");
        QTest::newRow("owner-only runtime directory") << 0700 << false << int(Runtime);
        QTest::newRow("runtime directory open to others") << 0755 << false << int(Either);
        QTest::newRow("runtime directory of another user") << 0700 << true << int(Fallback);
        QTest::newRow("no runtime directory set") << 0 << false << int(Fallback);
    }

    void lockLivesInAPrivateDirectory()
    {
        QFETCH(int, runtimeMode);
        QFETCH(bool, foreignOwner);
        QFETCH(int, where);
        if (foreignOwner && geteuid() != 0)
            QSKIP("giving a directory to another user needs root");

        Place place = newPlace(runtimeMode ? mode_t(runtimeMode) : 0700);
        QVERIFY(place.runtime && !place.runtime->isEmpty());
        const QString runtime = *place.runtime;
        if (runtimeMode == 0)
            place.runtime.reset();
        if (foreignOwner)
            QVERIFY(chown(QFile::encodeName(runtime).constData(), 65534, 65534) == 0);
        QStringList allowed;
        if (where != Fallback)
            allowed << QDir(runtime).filePath(kLockName);
        if (where != Runtime)
            allowed << QDir(fallbackRuntimeDirectory(place.tmp)).filePath(kLockName);

        CopyPool pool(MIROVEN_BINARY, base_.path());
        const std::vector<pid_t> pids = pool.startTogether(1, environmentFor(place));
        QCOMPARE(pids.size(), std::size_t(1));
        const pid_t copy = pids.front();
        waitFor([&] { return !openFilesNamed(copy, kLockName).isEmpty(); }, pids, kQuietMs, kTimeoutMs);
        const QStringList held = openFilesNamed(copy, kLockName);
        QVERIFY2(held.size() == 1 && allowed.contains(held.front()),
                 qPrintable(QStringLiteral("holds [%1], expected one of [%2]")
                                .arg(held.join(u','), allowed.join(u','))));
        const QString lockPath = held.front();
        checkTakesTheLock(pool, copy, lockPath, QStringLiteral("the copy"));
        if (QTest::currentTestFailed())
            return;

        struct stat dir{}, file{};
        QCOMPARE(lstat(QFile::encodeName(QFileInfo(lockPath).path()).constData(), &dir), 0);
        QVERIFY(S_ISDIR(dir.st_mode));
        QCOMPARE(dir.st_mode & 07777, mode_t(0700));
        QCOMPARE(dir.st_uid, geteuid());
        QCOMPARE(lstat(QFile::encodeName(lockPath).constData(), &file), 0);
        QVERIFY(S_ISREG(file.st_mode));
        QCOMPARE(file.st_uid, geteuid());
        QCOMPARE(file.st_mode & 0022, mode_t(0));
        if (foreignOwner)
            QVERIFY2(QDir(runtime).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
                     "the program wrote into another user's directory");
    }

    // Another user who creates this user's fallback runtime directory before them, with
    // a lock in it naming a running copy, neither keeps the program from starting nor
    // gets it to write there.
    void plantedLockCannotBlockTheStart()
    {
        if (geteuid() != 0)
            QSKIP("giving a directory to another user needs root");
        VirtualScreen screen;
        if (!screen.ok())
            QSKIP(qPrintable(screen.error()));

        CopyPool pool(MIROVEN_BINARY, base_.path());
        // A real, running copy elsewhere, whose lock file the other user copies.
        const Place decoyPlace = newPlace();
        const std::vector<pid_t> decoys = pool.startTogether(1, environmentFor(decoyPlace));
        QCOMPARE(decoys.size(), std::size_t(1));
        const pid_t decoy = decoys.front();
        checkTakesTheLock(pool, decoy, QDir(*decoyPlace.runtime).filePath(kLockName), QStringLiteral("the decoy"));
        if (QTest::currentTestFailed())
            return;
        Place place = newPlace();
        place.runtime.reset();
        const QString planted = makeDirectory(fallbackRuntimeDirectory(place.tmp), 0777);
        QVERIFY(!planted.isEmpty());
        const QString plantedLock = QDir(planted).filePath(kLockName);
        QVERIFY(QFile::copy(QDir(*decoyPlace.runtime).filePath(kLockName), plantedLock));
        QCOMPARE(pidInLockFile(plantedLock), std::optional<pid_t>(decoy));
        QVERIFY(chown(QFile::encodeName(plantedLock).constData(), 65534, 65534) == 0);
        QVERIFY(chown(QFile::encodeName(planted).constData(), 65534, 65534) == 0);
        const QByteArray plantedContents = [&] {
            QFile f(plantedLock);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();

        MapWatcher watcher(screen.display());
        QVERIFY(watcher.ok());
        const std::vector<pid_t> pids = pool.startTogether(1, environmentFor(place, screen.display()));
        QCOMPARE(pids.size(), std::size_t(1));
        const std::vector<MappedWindow> windows = watcher.gather(
            [](const std::vector<MappedWindow>& w) { return !w.empty(); }, kTimeoutMs, 300);
        QCOMPARE(windows.size(), std::size_t(1));
        QCOMPARE(windows.front().pid, pids.front());
        QCOMPARE(windows.front().title, kMenuTitle);
        QVERIFY(openFilesNamed(pids.front(), kLockName).isEmpty());
        QFile after(plantedLock);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), plantedContents);
        QCOMPARE(QDir(planted).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
                 QStringList{kLockName});
    }
};

QTEST_GUILESS_MAIN(SingleInstanceStress)
#include "tst_single_instance_stress.moc"
