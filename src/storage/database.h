#pragma once

#include <QByteArrayView>
#include <QCollator>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "regional_settings.h"

struct sqlite3;

// The connection to the program's database file. Opened once at start-up; a file
// that is missing, foreign, incomplete, read-only or locked is refused with a text
// that names the file and the cause, and is never created, replaced or altered.
// Every change is committed when it is made (autocommit, synchronous=FULL).
class Database {
public:
    struct Opened {
        std::unique_ptr<Database> database;  // null on failure
        QString error;                       // Polish text naming the file and the cause
    };

    // ReadWrite: the program's own connection; the file must be whole and writable.
    // ReadOnly: for readers such as the batch interface; takes no write lock and
    // works on a read-only file and beside a running program.
    enum class Access { ReadWrite, ReadOnly };

    static Opened open(const QString& path, const RegionalSettings& regional,
                       Access access = Access::ReadWrite);
    // A new file made by an SQL script (the delivered schema, say): empty when made, else
    // the engine's cause. The path must not exist yet.
    static QString create(const QString& path, const QByteArray& script);
    // The SQLite library's version, for a record of what computed what.
    static QString engineVersion();
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const RegionalSettings& regional() const { return regional_; }
    QString path() const { return path_; }

    // Groups several changes into one commit ("all or nothing").
    bool begin();
    // Groups many reads under one shared lock (a long read of the whole file), ended by
    // commit(); other readers go on, a writer waits.
    bool beginRead();
    bool commit();
    void rollback();
    // Reads through a memory map (the default: no system call per page), or through
    // SQLite's bounded page cache, for one pass over a whole file whose mapped pages
    // would all count as the program's memory.
    void setMapped(bool mapped);
    QString lastError() const;
    // The rowid of the last row inserted, and how many rows the last change touched.
    qint64 lastInsertedRow() const;
    int changedRows() const;
    // How long a statement waits for a file another program holds (2 s unless set: an
    // open is refused soon), and whom it tells while it waits (after the first 300 ms,
    // about four times a second).
    void setLongestWait(int ms);
    void setWaitingNotice(std::function<void(int waitedMs)> notice);
    // Two UTF-8 texts in the order of the file's LOCALE collation.
    int collate(QByteArrayView left, QByteArrayView right) const;

    // The tables and fields the program relies on.
    struct TableFields {
        const char* table;
        QStringList fields;
    };
    static const std::vector<TableFields>& requiredTables();
    // Empty when the table has every field (by name, letter case aside), else the cause.
    QString checkTable(const char* table, const QStringList& fields) const;

private:
    friend class Statement;
    sqlite3* handle() const { return db_; }
    Database(sqlite3* db, const QString& path, const RegionalSettings& regional);
    bool exec(const char* sql);
    QString validate() const;
    QString foreignObjects() const;
    QString checkIntegrity() const;
    QString probeWrite();
    void registerCollation();
    static int waitForAccess(void* self, int attempt);

    sqlite3* db_;
    QString path_;
    RegionalSettings regional_;
    QCollator collator_;
    std::function<void(int)> waiting_;
    int longestWait_ = 2000;
    QElapsedTimer waitStarted_;
    qint64 lastNotice_ = 0;
};
