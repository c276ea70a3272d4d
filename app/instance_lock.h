#pragma once

#include <QByteArray>
#include <QString>

// At most one running copy per user: an exclusive flock() on a lock file in the
// user's private runtime directory, held for the program's whole life. The kernel
// drops the lock when its holder ends, however it ends, so the file is never
// removed and no lock is ever stale: there is nothing to guess and nothing to race.
class InstanceLock {
public:
    enum class Result {
        Acquired,       // this copy is the only one
        HeldByAnother,  // another live copy holds the lock
        Unavailable,    // no lock could be made for another reason
    };

    // `directory`: where the lock lives; tests pass a temporary one. It must be a
    // directory of this user's that nobody else may enter (mode 0700).
    explicit InstanceLock(const QString& directory);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Makes only system calls, so a child process may call it between fork() and exec().
    [[nodiscard]] Result acquire();

    // The per-user runtime directory, created owner-only if need be; empty if none.
    [[nodiscard]] static QString defaultDirectory();

    static constexpr auto kFileName = "miroven.lock";

private:
    QByteArray directory_; // in the file system's encoding
    int fd_ = -1;          // open, and locked, while this copy holds the lock
};
