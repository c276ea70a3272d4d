// The single-instance rule under stress, tested from outside on the real program, on
// a private Xvfb: copies started at the same moment, copies killed while holding the
// lock, lock files left behind, and where the lock may live. Nothing inside the
// program is hooked. A round is over when every copy has mapped a window, which it
// does only after its lock attempt; then the checks read the windows each copy
// mapped, which copy the kernel says holds the lock (/proc), and the lock file.
//
// MIROVEN_STRESS_ROUNDS sets the rounds of two copies (default 40); five copies run
// a tenth as many. Every round has a time limit, and so has each test as a whole.

#include "copies.h"
#include "x_windows.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <optional>

namespace {

const QString kLockName = QStringLiteral("miroven.lock");
const QString kMenuTitle = QStringLiteral("Miroven");
const QString kRefusalTitle = QStringLiteral("ロードエラー");

constexpr int kDefaultRounds = 40; // of two copies; five copies run a tenth as many
constexpr int kTimeoutMs = 20000;  // for every copy to map a window; only reached on failure
constexpr int kGraceMs = 150;      // after that, for a window that should not come
constexpr int kRoundBudgetMs = 3000; // a test's time limit: this per round, and a minute more

int roundsOfTwo()
{
    bool ok = false;
    const int rounds = qEnvironmentVariableIntValue("MIROVEN_STRESS_ROUNDS", &ok);
    return ok && rounds > 0 ? rounds : kDefaultRounds;
}

struct Place {
    QString home;
    QString tmp;                    // TMPDIR: where a fallback runtime directory goes
    std::optional<QString> runtime; // XDG_RUNTIME_DIR, or unset
};

Environment environmentFor(const Place& place, const QString& display)
{
    Environment env{
        "PATH=/usr/bin:/bin",
        "LANG=C.UTF-8",
        "HOME=" + place.home.toStdString(),
        "TMPDIR=" + place.tmp.toStdString(),
        "QT_QPA_PLATFORM=xcb",
        "DISPLAY=" + display.toStdString(),
    };
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

// What one start of several copies showed.
struct Race {
    std::vector<pid_t> pids;
    pid_t menu = 0; // the copy that showed the main menu
};

} // namespace

class SingleInstanceStress : public QObject {
    Q_OBJECT

private:
    QTemporaryDir base_;
    int places_ = 0;
    std::unique_ptr<VirtualScreen> screen_;

    Place newPlace(mode_t runtimeMode = 0700)
    {
        const QString root = base_.filePath(QStringLiteral("place-%1").arg(++places_));
        Place place;
        place.home = makeDirectory(root + QStringLiteral("/home"), 0700);
        place.tmp = makeDirectory(root + QStringLiteral("/tmp"), 0700);
        place.runtime = makeDirectory(root + QStringLiteral("/runtime"), runtimeMode);
        return place;
    }

    // Every copy started here has its home under the test's directory.
    QByteArray copyMarker() const { return "HOME=" + QFile::encodeName(base_.path()) + '/'; }

    // Starts `count` copies together on `place` and waits until each has mapped a
    // window. Exactly one shows the main menu, every other one the refusal, each
    // copy one window only, and no other window appears; all of them still run.
    void race(CopyPool& pool, const Place& place, int count, const QString& round, Race* out)
    {
        MapWatcher watcher(screen_->display());
        QVERIFY2(watcher.ok(), qPrintable(round + QStringLiteral(": cannot watch the X server")));
        out->pids = pool.startTogether(count, environmentFor(place, screen_->display()));
        const std::vector<pid_t>& pids = out->pids;
        QVERIFY2(int(pids.size()) == count, qPrintable(round + QStringLiteral(": could not start the copies")));
        const auto mappedBy = [](const std::vector<MappedWindow>& windows, pid_t pid) {
            return std::count_if(windows.begin(), windows.end(), [pid](const MappedWindow& w) { return w.pid == pid; });
        };
        const auto everyCopyMapped = [&](const std::vector<MappedWindow>& windows) {
            return std::all_of(pids.begin(), pids.end(), [&](pid_t pid) { return mappedBy(windows, pid) > 0; });
        };
        const std::vector<MappedWindow> windows = watcher.gather(everyCopyMapped, kTimeoutMs, kGraceMs);

        QStringList seen;
        for (const MappedWindow& w : windows)
            seen << QStringLiteral("%1 \"%2\"").arg(w.pid).arg(w.title);
        QString report = round + QStringLiteral(": copies [%1] mapped: %2").arg(joinPids(pids), seen.join(u','));
        for (pid_t pid : pids) {
            if (mappedBy(windows, pid) == 0)
                report += QStringLiteral("; ") + pool.describe(pid);
        }
        QVERIFY2(everyCopyMapped(windows), qPrintable(report));
        QVERIFY2(int(windows.size()) == count, qPrintable(report));
        for (pid_t pid : pids)
            QVERIFY2(mappedBy(windows, pid) == 1, qPrintable(report));
        const auto titled = [&](const QString& title) {
            return std::count_if(windows.begin(), windows.end(), [&](const MappedWindow& w) { return w.title == title; });
        };
        QVERIFY2(titled(kMenuTitle) == 1 && titled(kRefusalTitle) == count - 1, qPrintable(report));
        for (pid_t pid : pids)
            QVERIFY2(pool.running(pid), qPrintable(round + QStringLiteral(": ") + pool.describe(pid)));
        out->menu = std::find_if(windows.begin(), windows.end(), [](const MappedWindow& w) {
                        return w.title == kMenuTitle;
                    })->pid;
    }

    // The copy that shows the menu, and it alone, holds the lock at `lockPath`, and the
    // file names it.
    void checkSoleHolder(const Race& race, const QString& lockPath, const QString& round)
    {
        const std::vector<pid_t> holders = flockHolders(race.pids, lockPath);
        QVERIFY2(holders == std::vector<pid_t>{race.menu},
                 qPrintable(QStringLiteral("%1: the menu is copy %2, the lock is held by [%3] of [%4]")
                                .arg(round)
                                .arg(race.menu)
                                .arg(joinPids(holders), joinPids(race.pids))));
        QVERIFY2(pidInLockFile(lockPath) == race.menu,
                 qPrintable(QStringLiteral("%1: the lock file names %2, but copy %3 holds it")
                                .arg(round)
                                .arg(pidInLockFile(lockPath).value_or(0))
                                .arg(race.menu)));
    }

    // Fails the running test once it has used up its time.
    static void checkBudget(const QElapsedTimer& clock, int rounds, const QString& round)
    {
        const qint64 budget = qint64(rounds) * kRoundBudgetMs + 60000;
        QVERIFY2(clock.elapsed() <= budget, qPrintable(QStringLiteral("%1: over the time limit of %2 s")
                                                           .arg(round)
                                                           .arg(budget / 1000)));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(base_.isValid());
        QVERIFY2(QFileInfo(QStringLiteral(MIROVEN_BINARY)).isExecutable(), MIROVEN_BINARY);
        screen_ = std::make_unique<VirtualScreen>();
    }

    void init()
    {
        if (!screen_->ok())
            QSKIP(qPrintable(screen_->error()));
    }

    // No copy outlives the test that started it, whatever happened in it.
    void cleanup()
    {
        const std::vector<pid_t> left = processesWith(QStringLiteral(MIROVEN_BINARY), copyMarker());
        for (pid_t pid : left)
            CopyPool::killStranger(pid);
        QVERIFY2(left.empty(), qPrintable(QStringLiteral("copies left running: %1").arg(joinPids(left))));
    }

    // Copies started at the same moment, many times over: one shows the main menu and
    // holds the lock, every other one shows the refusal.
    void simultaneousStartsShowOneMenu_data()
    {
        QTest::addColumn<int>("copies");
        QTest::addColumn<int>("rounds");
        QTest::newRow("2 copies") << 2 << roundsOfTwo();
        QTest::newRow("5 copies") << 5 << std::max(1, roundsOfTwo() / 10);
    }

    void simultaneousStartsShowOneMenu()
    {
        QFETCH(int, copies);
        QFETCH(int, rounds);
        QElapsedTimer clock;
        clock.start();
        for (int round = 1; round <= rounds; ++round) {
            const QString name = QStringLiteral("round %1 of %2").arg(round).arg(rounds);
            CopyPool pool(MIROVEN_BINARY, base_.path());
            const Place place = newPlace();
            QVERIFY(place.runtime && !place.runtime->isEmpty());
            Race started;
            race(pool, place, copies, name, &started);
            if (QTest::currentTestFailed())
                return;
            checkSoleHolder(started, QDir(*place.runtime).filePath(kLockName), name);
            if (QTest::currentTestFailed())
                return;
            checkBudget(clock, rounds, name);
            if (QTest::currentTestFailed())
                return;
        }
        qInfo("%d rounds of %d copies in %.1f s", rounds, copies, double(clock.elapsed()) / 1000);
    }

    // The kernel drops the lock of a copy killed with SIGKILL at once: of the copies
    // started next, one shows the menu, while the copies refused before it still show
    // only their refusal.
    void killedHoldersLockIsFreedAtOnce_data()
    {
        QTest::addColumn<int>("successors");
        QTest::newRow("1 successor") << 1;
        QTest::newRow("5 successors") << 5;
    }

    void killedHoldersLockIsFreedAtOnce()
    {
        QFETCH(int, successors);
        constexpr int kRounds = 3;
        for (int round = 1; round <= kRounds; ++round) {
            const QString name = QStringLiteral("round %1 of %2").arg(round).arg(kRounds);
            CopyPool pool(MIROVEN_BINARY, base_.path());
            const Place place = newPlace();
            const QString lockPath = QDir(*place.runtime).filePath(kLockName);
            Race first;
            race(pool, place, 2, name, &first);
            if (QTest::currentTestFailed())
                return;
            pool.kill(first.menu);
            QVERIFY2(QFile::exists(lockPath), qPrintable(name + QStringLiteral(": the lock file is gone")));
            Race next;
            race(pool, place, successors, name + QStringLiteral(", after the kill"), &next);
            if (QTest::currentTestFailed())
                return;
            checkSoleHolder(next, lockPath, name);
            if (QTest::currentTestFailed())
                return;
            const pid_t refused = first.pids.front() == first.menu ? first.pids.back() : first.pids.front();
            QVERIFY2(pool.running(refused), qPrintable(pool.describe(refused)));
            QVERIFY(flockHolders({refused}, lockPath).empty());
        }
    }

    // Whatever a lock file left behind holds, copies racing over it behave as over none.
    void leftoverLockFileDoesNotBlock_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("PID of a live process") << QByteArray::number(getpid()) + '\n';
    }

    void leftoverLockFileDoesNotBlock()
    {
        QFETCH(QByteArray, contents);
        const Place place = newPlace();
        const QString lockPath = QDir(*place.runtime).filePath(kLockName);
        QFile left(lockPath);
        QVERIFY(left.open(QIODevice::WriteOnly));
        left.write(contents);
        left.close();

        CopyPool pool(MIROVEN_BINARY, base_.path());
        Race started;
        race(pool, place, 5, QStringLiteral("5 copies"), &started);
        if (QTest::currentTestFailed())
            return;
        checkSoleHolder(started, lockPath, QStringLiteral("5 copies"));
    }

    // Wherever the lock ends up, it is a file of this user's that only this user may
    // read or write (0600), in a directory only this user may enter (0700). A runtime
    // directory that belongs to someone else is never used; one that others could
    // enter is used only once it has been made owner-only (Qt either corrects its
    // mode or falls back to $TMPDIR/runtime-$USER, depending on its version).
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
        Race started;
        race(pool, place, 1, QStringLiteral("the copy"), &started);
        if (QTest::currentTestFailed())
            return;
        const QStringList held = openFilesNamed(started.menu, kLockName);
        QVERIFY2(held.size() == 1 && allowed.contains(held.front()),
                 qPrintable(QStringLiteral("holds [%1], expected one of [%2]")
                                .arg(held.join(u','), allowed.join(u','))));
        const QString lockPath = held.front();
        checkSoleHolder(started, lockPath, QStringLiteral("the copy"));
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
        QCOMPARE(file.st_mode & 07777, mode_t(0600));
        if (foreignOwner)
            QVERIFY2(QDir(runtime).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
                     "the program wrote into another user's directory");
    }

    // Another user who creates this user's fallback runtime directory before them, with
    // a lock in it naming a running copy, neither keeps the program from starting nor
    // gets it to write there: it starts without a lock.
    void plantedLockCannotBlockTheStart()
    {
        if (geteuid() != 0)
            QSKIP("giving a directory to another user needs root");

        CopyPool pool(MIROVEN_BINARY, base_.path());
        // A real, running copy elsewhere, whose lock file the other user copies.
        const Place decoyPlace = newPlace();
        const QString decoyLock = QDir(*decoyPlace.runtime).filePath(kLockName);
        Race decoy;
        race(pool, decoyPlace, 1, QStringLiteral("the decoy"), &decoy);
        if (QTest::currentTestFailed())
            return;
        checkSoleHolder(decoy, decoyLock, QStringLiteral("the decoy"));
        if (QTest::currentTestFailed())
            return;
        Place place = newPlace();
        place.runtime.reset();
        const QString planted = makeDirectory(fallbackRuntimeDirectory(place.tmp), 0777);
        QVERIFY(!planted.isEmpty());
        const QString plantedLock = QDir(planted).filePath(kLockName);
        QVERIFY(QFile::copy(decoyLock, plantedLock));
        QCOMPARE(pidInLockFile(plantedLock), std::optional<pid_t>(decoy.menu));
        QVERIFY(chown(QFile::encodeName(plantedLock).constData(), 65534, 65534) == 0);
        QVERIFY(chown(QFile::encodeName(planted).constData(), 65534, 65534) == 0);
        const QByteArray plantedContents = [&] {
            QFile f(plantedLock);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();

        Race started;
        race(pool, place, 1, QStringLiteral("the copy"), &started);
        if (QTest::currentTestFailed())
            return;
        QVERIFY(openFilesNamed(started.menu, kLockName).isEmpty());
        QFile after(plantedLock);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), plantedContents);
        QCOMPARE(QDir(planted).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
                 QStringList{kLockName});
    }
};

int main(int argc, char* argv[])
{
    // Qt Test stops a test function after five minutes, which a long run needs more
    // than; the test's own limits still hold, and end it sooner.
    if (!qEnvironmentVariableIsSet("QTEST_FUNCTION_TIMEOUT"))
        qputenv("QTEST_FUNCTION_TIMEOUT", QByteArray::number(qint64(roundsOfTwo()) * kRoundBudgetMs + 120000));
    QCoreApplication app(argc, argv);
    SingleInstanceStress test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_single_instance_stress.moc"
