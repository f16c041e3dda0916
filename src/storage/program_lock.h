#pragma once

#include <QString>
#include <memory>

// Only one program writes a database file at a time: two windows on one file would
// create duplicate analysis numbers and lose each other's changes. The lock is an
// advisory lock on a small file beside the database ("KALMET.MDB.lock"), which the
// system lets go when the program ends in any way, a crash included. Readers such as
// the batch interface take no lock.
class ProgramLock {
public:
    // Null when another program holds the lock (or the lock file cannot be made).
    static std::unique_ptr<ProgramLock> take(const QString& databasePath);
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
