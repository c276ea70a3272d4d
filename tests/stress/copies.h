#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <sys/types.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

// "NAME=value" entries: the whole environment a copy gets, nothing inherited.
using Environment = std::vector<std::string>;

// Copies of a program started from outside, watched through /proc. Whatever is still
// running when the pool goes away is killed and reaped, so a failed check leaves no
// process behind.
class CopyPool {
public:
    CopyPool(std::string binary, QString logDirectory);
    ~CopyPool();
    CopyPool(const CopyPool&) = delete;
    CopyPool& operator=(const CopyPool&) = delete;

    // Starts `count` copies that are held at a barrier after fork() and released
    // together, so that they race through start-up at the same moment.
    std::vector<pid_t> startTogether(int count, const Environment& environment);

    // True while the copy runs. A copy that ended is reaped here, so that a dead copy
    // never lingers as a zombie that still looks alive to kill(pid, 0).
    bool running(pid_t pid);

    // SIGKILL and reap.
    void kill(pid_t pid);

    // SIGKILL a process that may not be one of the pool's, and reap it if it is a child.
    static void killStranger(pid_t pid);

    // For failure messages: how the copy ended (or that it runs) and its last output.
    QString describe(pid_t pid);

private:
    std::string binary_;
    QString logDirectory_;
    int started_ = 0;
    std::map<pid_t, QString> logs_;
    std::map<pid_t, int> endings_; // wait status of copies that ended
    std::vector<pid_t> live_;
};

// The PID on the first line of a lock file, if it has one.
std::optional<pid_t> pidInLockFile(const QString& path);

// The files named `fileName` (or former ones, deleted since) that a process holds open.
QStringList openFilesNamed(pid_t pid, const QString& fileName);

// Those of `pids` that hold an exclusive flock() on the file at `path`, as the kernel
// reports it for each open file (/proc/PID/fdinfo).
std::vector<pid_t> flockHolders(const std::vector<pid_t>& pids, const QString& path);

// Processes running `binary` with an environment entry that starts with `marker`,
// whoever started them: copies that outlived the test that started them.
std::vector<pid_t> processesWith(const QString& binary, const QByteArray& marker);
