#include "instance_lock.h"

#include <QDir>
#include <QStandardPaths>
#include <QThread>

InstanceLock::InstanceLock(const QString& directory) : directory_(directory) {}

InstanceLock::Result InstanceLock::acquire()
{
    if (directory_.isEmpty() || !QDir(directory_).exists())
        return Result::Unavailable;
    lock_ = std::make_unique<QLockFile>(QDir(directory_).filePath(QString::fromUtf8(kFileName)));
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0) || (lock_->error() == QLockFile::LockFailedError && takeOverUnreadable()))
        return Result::Acquired;
    const auto error = lock_->error();
    lock_.reset();
    return error == QLockFile::LockFailedError ? Result::HeldByAnother : Result::Unavailable;
}

bool InstanceLock::takeOverUnreadable()
{
    // A copy killed between creating the lock file and writing its owner leaves a
    // file that names nobody. With age never counting, Qt would take such a file for
    // a live lock and refuse every later start.
    qint64 pid = 0;
    QString host, app;
    if (lock_->getLockInfo(&pid, &host, &app))
        return false;
    // A live copy may be between those two steps right now: give it time to finish.
    QThread::msleep(100);
    if (lock_->getLockInfo(&pid, &host, &app))
        return false;
    // Removal fails while a live holder keeps the file locked.
    return lock_->removeStaleLockFile() && lock_->tryLock(0);
}

QString InstanceLock::defaultDirectory()
{
    // Qt creates it (or checks it) as owner-only, 0700.
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}
