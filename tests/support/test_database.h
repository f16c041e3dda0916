#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

#include "database.h"

// A fresh copy of the delivered database in a temporary folder, with optional extra
// SQL run on it before the program opens it.
class TestDatabase {
public:
    explicit TestDatabase(const QString& extraSql = {},
                          const RegionalSettings& regional = RegionalSettings::polish());
    // The same, with the program's additions (kinds of study, readings) made before the SQL.
    struct WithKinds {};
    TestDatabase(WithKinds, const QString& extraSql);
    QString path() const { return dir_.filePath(QStringLiteral("KALMET.MDB")); }
    QString folder() const { return dir_.path(); }
    Database& db() { return *db_; }
    QString openError() const { return error_; }

    // Runs SQL on a file directly, outside the program.
    static bool runSql(const QString& path, const QString& sql);
    // The first column of every row a query gives, read straight from the file.
    static QStringList column(const QString& path, const char* sql);
    // Opens a file as an unprivileged user would (a child process without root's
    // rights when the tests run as root, as in CI): empty on success, else the error.
    // SQL for a complete study 'S' of N parts, K appraisers and R trials with made-up
    // values (spread 0: all equal), the appraisers named from the list in that order.
    static QString completeStudy(int n, int k, int r, int coRef = 3, double spread = 0.01,
                                 const QStringList& names = {QStringLiteral("A"),
                                                             QStringLiteral("B"),
                                                             QStringLiteral("C")});
    // Overwrites the first page of a table's b-tree with garbage, as a failing disk would.
    static bool damageTable(const QString& path, const QString& table);
    static QString openAsUser(const QString& path, Database::Access access);
    // The SQL of a file in tests/fixtures; empty when it cannot be read.
    static QString fixture(const char* name);
    static QString schema();

private:
    QTemporaryDir dir_;
    std::unique_ptr<Database> db_;
    QString error_;
};
