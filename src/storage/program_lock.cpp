#include "program_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <cerrno>

std::unique_ptr<ProgramLock> ProgramLock::take(const QString& databasePath) {
    const QByteArray name = (databasePath + QStringLiteral(".lock")).toUtf8();
    const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        return nullptr;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<ProgramLock>(new ProgramLock(fd));
}

bool ProgramLock::isHeldByAnother(const QString& databasePath) {
    const QByteArray name = (databasePath + QStringLiteral(".lock")).toUtf8();
    const int fd = ::open(name.constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        return false;  // no lock file yet: nobody holds it
    }
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);  // lets go of the lock if this took it
    return held;
}

ProgramLock::~ProgramLock() {
    ::close(fd_);  // lets the lock go
}
