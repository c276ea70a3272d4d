#include "instance_lock.h"

#include <QFile>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {

// Closes a descriptor when it goes out of scope, unless released.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    [[nodiscard]] int get() const { return fd_; }
    int release()
    {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

// Only this user's, and only this user may enter: nobody else can swap the lock file.
bool isPrivateDirectory(int fd)
{
    struct stat info {};
    return ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid()
        && (info.st_mode & 077) == 0;
}

// The holder's PID, for whoever looks; the lock itself never reads it.
void writeOwner(int fd)
{
    char line[32];
    const int length = std::snprintf(line, sizeof line, "%ld\n", static_cast<long>(::getpid()));
    if (length <= 0 || ::ftruncate(fd, 0) != 0)
        return;
    if (::pwrite(fd, line, static_cast<size_t>(length), 0) != length) {
        // Harmless: the lock does not depend on it.
    }
}

} // namespace

InstanceLock::InstanceLock(const QString& directory) : directory_(QFile::encodeName(directory)) {}

InstanceLock::~InstanceLock()
{
    // Closing the descriptor drops the lock; the file stays for the next copy.
    if (fd_ >= 0)
        ::close(fd_);
}

InstanceLock::Result InstanceLock::acquire()
{
    if (fd_ >= 0)
        return Result::Acquired;
    if (directory_.isEmpty())
        return Result::Unavailable;
    const Descriptor directory(::open(directory_.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.get() < 0 || !isPrivateDirectory(directory.get()))
        return Result::Unavailable;

    // Opened relative to the directory just checked, and never through a link.
    Descriptor file(::openat(directory.get(), kFileName, O_RDWR | O_CREAT | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC,
                             S_IRUSR | S_IWUSR));
    if (file.get() < 0)
        return Result::Unavailable;
    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid())
        return Result::Unavailable;
    // The umask may have narrowed a new file's mode, and a file left by an older
    // version may be wider: owner read and write only, either way.
    if ((info.st_mode & 07777) != (S_IRUSR | S_IWUSR) && ::fchmod(file.get(), S_IRUSR | S_IWUSR) != 0)
        return Result::Unavailable;

    int locked;
    do {
        locked = ::flock(file.get(), LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0)
        return errno == EWOULDBLOCK ? Result::HeldByAnother : Result::Unavailable;
    writeOwner(file.get());
    fd_ = file.release();
    return Result::Acquired;
}

QString InstanceLock::defaultDirectory()
{
    // Qt creates it owner-only (0700), or corrects its mode, and refuses one that is a
    // link or belongs to another user, falling back to a private one under the
    // temporary directory.
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}
