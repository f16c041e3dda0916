#include "test_database.h"

#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QFile>

#include "schema_additions.h"

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

TestDatabase::TestDatabase(WithKinds, const QString& extraSql) {
    runSql(path(), schema());
    {
        auto opened = Database::open(path(), RegionalSettings::polish());
        error_ = opened.database ? SchemaAdditions::add(*opened.database) : opened.error;
    }
    runSql(path(), extraSql);
    auto opened = Database::open(path(), RegionalSettings::polish());
    db_ = std::move(opened.database);
}

QString TestDatabase::openAsUser(const QString& path, Database::Access access) {
    auto attempt = [&] {
        const auto opened = Database::open(path, RegionalSettings::polish(), access);
        return opened.database ? QString() : opened.error;
    };
    if (geteuid() != 0) {
        return attempt();
    }
    int channel[2];
    if (pipe(channel) != 0) {
        return QStringLiteral("pipe failed");
    }
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        const uid_t nobody = 65534;
        if (setgid(nobody) != 0 || setuid(nobody) != 0) {
            _exit(2);
        }
        const QByteArray text = attempt().toUtf8();
        const ssize_t written =
            write(channel[1], text.constData(), static_cast<size_t>(text.size()));
        _exit(written == text.size() ? 0 : 3);
    }
    close(channel[1]);
    QByteArray text;
    char buffer[4096];
    for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<int>(n));
    }
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return QStringLiteral("the unprivileged child failed");
    }
    return QString::fromUtf8(text);
}

bool TestDatabase::damageTable(const QString& path, const QString& table) {
    sqlite3* db = nullptr;
    if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        return false;
    }
    sqlite3_stmt* query = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT rootpage, (SELECT page_size FROM pragma_page_size()) "
                       "FROM sqlite_master WHERE name = ?",
                       -1, &query, nullptr);
    const QByteArray name = table.toUtf8();
    sqlite3_bind_text(query, 1, name.constData(), -1, SQLITE_TRANSIENT);
    const bool found = sqlite3_step(query) == SQLITE_ROW;
    const qint64 page = found ? sqlite3_column_int64(query, 0) : 0;
    const qint64 size = found ? sqlite3_column_int64(query, 1) : 0;
    sqlite3_finalize(query);
    sqlite3_close(db);
    QFile file(path);
    if (page < 2 || !file.open(QIODevice::ReadWrite) || !file.seek((page - 1) * size)) {
        return false;
    }
    return file.write(QByteArray(static_cast<int>(size), '\xff')) == size;
}

QString TestDatabase::completeStudy(int n, int k, int r, int coRef, double spread,
                                    const QStringList& names) {
    QString sql = QStringLiteral(
                      "INSERT INTO Analiza (Numer, LiczbaN, LiczbaK, LiczbaR, CoRef, WN, GWG, DWG, "
                      "BladP) VALUES ('S', %1, %2, %3, %4, 1.33, 10.5, 9.5, '0,002');")
                      .arg(n)
                      .arg(k)
                      .arg(r)
                      .arg(coRef);
    for (int a = 0; a < k; ++a) {
        for (int t = 0; t < r; ++t) {
            QStringList columns;
            QStringList values;
            for (int j = 1; j <= n; ++j) {
                columns << QStringLiteral("P%1").arg(j);
                values << QString::number(10 + spread * ((j * 7 + a * 3 + t * 5) % 11), 'f', 3);
            }
            sql += QStringLiteral(
                       "INSERT INTO DanePom (ID, Operator, %1, ObX) VALUES ('S', '%2', "
                       "%3, 10);")
                       .arg(columns.join(QLatin1Char(',')), names.value(a),
                            values.join(QLatin1Char(',')));
        }
    }
    return sql;
}

QString TestDatabase::fixture(const char* name) {
    const QString written = QStringLiteral(KALMET_GENERATED "/") + QString::fromLatin1(name);
    QFile file(QFile::exists(written)
                   ? written
                   : QStringLiteral(KALMET_FIXTURES "/") + QString::fromLatin1(name));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList TestDatabase::column(const QString& path, const char* sql) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    QStringList rows;
    sqlite3_exec(
        db, sql,
        [](void* out, int, char** values, char**) {
            *static_cast<QStringList*>(out) << QString::fromUtf8(values[0] ? values[0] : "");
            return 0;
        },
        &rows, nullptr);
    sqlite3_close(db);
    return rows;
}
