#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// At most one running copy per user: a lock file held for the program's whole life
// in the user's private runtime directory. A lock left by a copy that died is
// taken over; the lock's age never makes it stale.
class InstanceLock {
public:
    enum class Result {
        Acquired,       // this copy is the only one
        HeldByAnother,  // another live copy holds the lock
        Unavailable,    // no lock could be made for another reason
    };

    // `directory`: where the lock lives; tests pass a temporary one.
    explicit InstanceLock(const QString& directory);

    [[nodiscard]] Result acquire();

    // The per-user runtime directory, created owner-only if need be; empty if none.
    [[nodiscard]] static QString defaultDirectory();

    static constexpr auto kFileName = "miroven.lock";

private:
    bool takeOverUnreadable();

    QString directory_;
    std::unique_ptr<QLockFile> lock_;
};
