#include "copies.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

void CopyPool::killStranger(pid_t pid)
{
    ::kill(pid, SIGKILL);
    while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
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

std::vector<pid_t> flockHolders(const std::vector<pid_t>& pids, const QString& path)
{
    std::vector<pid_t> holders;
    const QString canonical = QFileInfo(path).canonicalFilePath();
    const QByteArray target = QFile::encodeName(canonical.isEmpty() ? path : canonical);
    for (pid_t pid : pids) {
        const QString fds = QStringLiteral("/proc/%1/fd").arg(pid);
        bool holds = false;
        for (const QString& fd : QDir(fds).entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot)) {
            if (QFile::encodeName(QFile::symLinkTarget(fds + u'/' + fd)) != target)
                continue;
            QFile info(QStringLiteral("/proc/%1/fdinfo/%2").arg(pid).arg(fd));
            if (!info.open(QIODevice::ReadOnly))
                continue;
            // "lock:\t1: FLOCK  ADVISORY  WRITE 1234 00:2d:5678 0 EOF"
            for (const QByteArray& line : info.readAll().split('\n'))
                holds = holds || (line.startsWith("lock:") && line.contains(" FLOCK ") && line.contains(" WRITE "));
        }
        if (holds)
            holders.push_back(pid);
    }
    return holders;
}

std::vector<pid_t> processesWith(const QString& binary, const QByteArray& marker)
{
    std::vector<pid_t> found;
    const QString wanted = QFileInfo(binary).canonicalFilePath();
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool number = false;
        const pid_t pid = pid_t(entry.toInt(&number));
        if (!number || QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(pid)) != wanted)
            continue;
        QFile environ(QStringLiteral("/proc/%1/environ").arg(pid));
        if (!environ.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> entries = environ.readAll().split('\0');
        if (std::any_of(entries.begin(), entries.end(), [&](const QByteArray& e) { return e.startsWith(marker); }))
            found.push_back(pid);
    }
    return found;
}
