#include "test_database.h"

#include <sqlite3.h>
#include <QFile>

QString TestDatabase::schema() {
    QFile file(QStringLiteral(KALMET_SCHEMA));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

bool TestDatabase::runSql(const QString& path, const QString& sql) {
    sqlite3* db = nullptr;
    const QByteArray name = path.toUtf8();
    if (sqlite3_open(name.constData(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        return false;
    }
    const QByteArray text = sql.toUtf8();
    const bool ok = sqlite3_exec(db, text.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

TestDatabase::TestDatabase(const QString& extraSql, const RegionalSettings& regional) {
    runSql(path(), schema() + extraSql);
    auto opened = Database::open(path(), regional);
    db_ = std::move(opened.database);
    error_ = opened.error;
}
