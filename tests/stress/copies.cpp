#include "copies.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

CopyPool::CopyPool(std::string binary, QString logDirectory)
    : binary_(std::move(binary)), logDirectory_(std::move(logDirectory))
{
}

CopyPool::~CopyPool()
{
    for (pid_t pid : std::vector<pid_t>(live_))
        kill(pid);
}

std::vector<pid_t> CopyPool::startTogether(int count, const Environment& environment)
{
    // Everything the children need is made before fork(): between fork() and exec()
    // they only call async-signal-safe functions.
    std::vector<char*> argv{binary_.data(), nullptr};
    std::vector<std::string> env = environment;
    std::vector<char*> envp;
    for (std::string& entry : env)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::vector<std::string> logPaths;
    for (int i = 0; i < count; ++i)
        logPaths.push_back(QDir(logDirectory_).filePath(QStringLiteral("copy-%1.log").arg(++started_)).toStdString());

    // The barrier: every child blocks reading a pipe until the last write end closes.
    int barrier[2];
    if (pipe2(barrier, O_CLOEXEC) != 0)
        return {};
    std::vector<pid_t> pids;
    const pid_t parent = getpid();
    for (int i = 0; i < count; ++i) {
        const pid_t pid = fork();
        if (pid == 0) {
            // If the test dies (a CTest time-out kills it), its copies go with it rather
            // than wait at a message box forever.
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (getppid() != parent)
                _exit(127);
            close(barrier[1]);
            const int log = open(logPaths[i].c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
            const int null = open("/dev/null", O_RDONLY | O_CLOEXEC);
            char byte;
            while (read(barrier[0], &byte, 1) < 0 && errno == EINTR) {
            }
            if (log >= 0) {
                dup2(log, STDOUT_FILENO);
                dup2(log, STDERR_FILENO);
            }
            if (null >= 0)
                dup2(null, STDIN_FILENO);
            execve(argv[0], argv.data(), envp.data());
            _exit(127);
        }
        if (pid > 0) {
            pids.push_back(pid);
            live_.push_back(pid);
            logs_[pid] = QString::fromStdString(logPaths[i]);
        }
    }
    close(barrier[0]);
    close(barrier[1]); // go
    return pids;
}

bool CopyPool::running(pid_t pid)
{
    if (endings_.count(pid))
        return false;
    int status = 0;
    const pid_t got = waitpid(pid, &status, WNOHANG);
    if (got == 0)
        return true;
    if (got == pid)
        endings_[pid] = status;
    live_.erase(std::remove(live_.begin(), live_.end(), pid), live_.end());
    return false;
}

void CopyPool::kill(pid_t pid)
{
    if (!running(pid))
        return;
    ::kill(pid, SIGKILL);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    endings_[pid] = status;
    live_.erase(std::remove(live_.begin(), live_.end(), pid), live_.end());
}

QString CopyPool::describe(pid_t pid)
{
    QString state;
    if (running(pid)) {
        state = QStringLiteral("runs");
    } else if (!endings_.count(pid)) {
        state = QStringLiteral("ended (status unknown)");
    } else {
        const int status = endings_[pid];
        state = WIFSIGNALED(status) ? QStringLiteral("died of signal %1").arg(WTERMSIG(status))
                                    : QStringLiteral("exited with %1").arg(WEXITSTATUS(status));
    }
    QFile log(logs_.count(pid) ? logs_[pid] : QString());
    QString output;
    if (log.open(QIODevice::ReadOnly))
        output = QString::fromUtf8(log.readAll().right(400)).trimmed();
    return QStringLiteral("copy %1 %2%3").arg(pid).arg(state,
        output.isEmpty() ? QString() : QStringLiteral("; its output ends: ") + output);
}

namespace {

struct Sample {
    qint64 at;
    qint64 cpuNs;
    bool sleeping;
};

// CPU time of all the process's threads (ns), and whether it sleeps; nullopt once gone.
std::optional<Sample> sample(pid_t pid, qint64 at)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray line = stat.readAll();
    const int close = line.lastIndexOf(')');
    if (close < 0 || close + 2 >= line.size())
        return std::nullopt;
    Sample s{at, 0, line.at(close + 2) == 'S'};
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile schedstat(tasks.filePath(task + QStringLiteral("/schedstat")));
        if (schedstat.open(QIODevice::ReadOnly))
            s.cpuNs += schedstat.readAll().split(' ').value(0).toLongLong();
    }
    return s;
}

} // namespace

Waited waitFor(const std::function<bool()>& done, const std::vector<pid_t>& pids, int quietMs,
               int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    std::map<pid_t, std::vector<Sample>> history;
    while (clock.elapsed() < timeoutMs) {
        if (done && done())
            return Waited::Done;
        const qint64 now = clock.elapsed();
        bool allQuiet = true;
        for (pid_t pid : pids) {
            const auto s = sample(pid, now);
            if (!s)
                continue; // ended: the caller finds out and says how
            auto& samples = history[pid];
            samples.push_back(*s);
            // The newest sample from before the window, to measure the window against.
            const auto inWindow = std::find_if(samples.begin(), samples.end(),
                                               [&](const Sample& old) { return now - old.at <= quietMs; });
            const bool coversWindow = inWindow != samples.begin();
            const bool quiet = coversWindow && s->sleeping && s->cpuNs - (inWindow - 1)->cpuNs < 2'000'000;
            allQuiet = allQuiet && quiet;
        }
        if (allQuiet)
            return done && done() ? Waited::Done : Waited::Idle;
        QThread::msleep(10);
    }
    return Waited::TimedOut;
}

std::optional<pid_t> pidInLockFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray first = file.readLine();
    if (!first.endsWith('\n'))
        return std::nullopt; // not written yet
    bool ok = false;
    const qint64 pid = first.trimmed().toLongLong(&ok);
    if (!ok || pid <= 0)
        return std::nullopt;
    return pid_t(pid);
}

QStringList openFilesNamed(pid_t pid, const QString& fileName)
{
    QStringList found;
    const std::string fds = "/proc/" + std::to_string(pid) + "/fd";
    DIR* dir = opendir(fds.c_str());
    if (!dir)
        return found;
    const QString deleted = fileName + QStringLiteral(" (deleted)");
    while (const dirent* entry = readdir(dir)) {
        char target[4096];
        const ssize_t length = readlink((fds + "/" + entry->d_name).c_str(), target, sizeof target - 1);
        if (length <= 0)
            continue;
        const QString path = QString::fromUtf8(target, int(length));
        const QString name = path.mid(path.lastIndexOf(u'/') + 1);
        if (name == fileName || name == deleted)
            found << path;
    }
    closedir(dir);
    return found;
}
