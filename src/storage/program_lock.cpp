#include "program_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <cerrno>

namespace {

// The lock needs only a read handle on the file. The handle stays open for the whole
// run: closing another handle of the file would drop SQLite's record locks with it.
int openForLocking(const QString& databasePath) {
    return ::open(databasePath.toUtf8().constData(), O_RDONLY | O_CLOEXEC);
}

}  // namespace

ProgramLock::Attempt ProgramLock::take(const QString& databasePath) {
    Attempt attempt;
    const int fd = openForLocking(databasePath);
    if (fd < 0) {
        attempt.cause = errno == EACCES
                            ? QString::fromUtf8("brak prawa do odczytu pliku")
                            : QString::fromUtf8("nie można otworzyć pliku do zablokowania");
        return attempt;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        attempt.heldByAnother = errno == EWOULDBLOCK;
        attempt.cause = QString::fromUtf8("system nie pozwala zablokować pliku");
        ::close(fd);
        return attempt;
    }
    attempt.lock.reset(new ProgramLock(fd));
    return attempt;
}

bool ProgramLock::isHeldByAnother(const QString& databasePath) {
    const int fd = openForLocking(databasePath);
    if (fd < 0) {
        return false;  // the opening of the database then tells why
    }
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);  // lets go of the lock if this took it
    return held;
}

ProgramLock::~ProgramLock() {
    ::close(fd_);  // lets the lock go
}
