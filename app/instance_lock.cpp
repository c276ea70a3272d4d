#include "instance_lock.h"

#include <QDir>
#include <QStandardPaths>

InstanceLock::InstanceLock(const QString& directory) : directory_(directory) {}

InstanceLock::Result InstanceLock::acquire()
{
    if (directory_.isEmpty() || !QDir(directory_).exists())
        return Result::Unavailable;
    lock_ = std::make_unique<QLockFile>(QDir(directory_).filePath(QString::fromUtf8(kFileName)));
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0))
        return Result::Acquired;
    const auto error = lock_->error();
    lock_.reset();
    return error == QLockFile::LockFailedError ? Result::HeldByAnother : Result::Unavailable;
}

QString InstanceLock::defaultDirectory()
{
    // Qt creates it (or checks it) as owner-only, 0700.
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}
