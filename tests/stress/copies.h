#pragma once

#include <QString>
#include <QStringList>

#include <sys/types.h>

#include <functional>
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

enum class Waited { Done, Idle, TimedOut };

// Polls until `done` holds (Done), or else until every copy in `pids` sleeps without
// using the CPU, less than 2 ms in `quietMs`, which means that its start-up is over and
// it sits in its event loop, a refused one at its message box (Idle); or until
// `timeoutMs` has passed (TimedOut). Copies that ended count as idle. Without `done`,
// waits for idleness alone.
Waited waitFor(const std::function<bool()>& done, const std::vector<pid_t>& pids, int quietMs,
               int timeoutMs);

// The PID on the first line of a lock file, if it has one.
std::optional<pid_t> pidInLockFile(const QString& path);

// The files named `fileName` (or former ones, deleted since) that a process holds open.
QStringList openFilesNamed(pid_t pid, const QString& fileName);
