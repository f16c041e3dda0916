#pragma once

#include <QString>
#include <memory>

// Only one program writes a database file at a time: two windows on one file would
// create duplicate analysis numbers and lose each other's changes. The lock is an
// advisory lock (flock) on the database file itself, so every path to the same file (a
// symbolic or hard link, another folder's name for it) meets the same lock, and the
// system lets go of it when the program ends in any way, a crash included; nothing
// stale can outlive a program. SQLite's own locks are POSIX record locks, which flock
// does not disturb. Readers such as the batch interface take no lock.
class ProgramLock {
public:
    struct Attempt {
        std::unique_ptr<ProgramLock> lock;  // null when not taken
        bool heldByAnother = false;
        QString cause;  // why it could not be taken otherwise (in Polish)
    };

    static Attempt take(const QString& databasePath);
    // Whether another program holds the lock now (checked before the file is opened,
    // so a second start is told at once, not after waiting for the first one's writes).
    static bool isHeldByAnother(const QString& databasePath);
    ~ProgramLock();
    ProgramLock(const ProgramLock&) = delete;
    ProgramLock& operator=(const ProgramLock&) = delete;

private:
    explicit ProgramLock(int fd) : fd_(fd) {}
    int fd_;
};
