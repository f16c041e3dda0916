#include "schema_additions.h"

#include <QStringList>

#include "database.h"
#include "statement.h"

namespace SchemaAdditions {

namespace {

struct Addition {
    const char* table;   // the table it makes, or the one it adds a column to
    const char* column;  // null: a table of its own
    QStringList fields;
    QStringList statements;
};

const QVector<Addition>& additions() {
    static const QVector<Addition> all = {
        {"Historia",
         nullptr,
         {QStringLiteral("Kiedy"), QStringLiteral("Numer"), QStringLiteral("Operator"),
          QStringLiteral("Czesc"), QStringLiteral("Powtorzenie"), QStringLiteral("Bylo"),
          QStringLiteral("Jest"), QStringLiteral("Dlaczego")},
         {QStringLiteral("CREATE TABLE Historia (Kiedy TEXT NOT NULL, Numer TEXT NOT NULL, "
                         "Operator TEXT, Czesc INTEGER NOT NULL, Powtorzenie INTEGER NOT NULL, "
                         "Bylo, Jest, Dlaczego TEXT)"),
          QStringLiteral("CREATE INDEX HistoriaNumer ON Historia (Numer)")}},
        {"Analiza",
         "Rodzaj",
         {QStringLiteral("Rodzaj")},
         {QStringLiteral("ALTER TABLE Analiza ADD COLUMN Rodzaj TEXT")}},
        {"Analiza",
         "Wzorzec",
         {QStringLiteral("Wzorzec")},
         {QStringLiteral("ALTER TABLE Analiza ADD COLUMN Wzorzec REAL")}},
        {"Analiza",
         "Rozdzielczosc",
         {QStringLiteral("Rozdzielczosc")},
         {QStringLiteral("ALTER TABLE Analiza ADD COLUMN Rozdzielczosc REAL")}},
        {"Analiza",
         "ZmProc",
         {QStringLiteral("ZmProc")},
         {QStringLiteral("ALTER TABLE Analiza ADD COLUMN ZmProc REAL")}},
        {"Analiza",
         "Akceptacja",
         {QStringLiteral("Akceptacja")},
         {QStringLiteral("ALTER TABLE Analiza ADD COLUMN Akceptacja TEXT")}},
        {"Ustawienia",
         "Typ1K",
         {QStringLiteral("Typ1K")},
         {QStringLiteral("ALTER TABLE Ustawienia ADD COLUMN Typ1K REAL")}},
        {"Ustawienia",
         "Typ1L",
         {QStringLiteral("Typ1L")},
         {QStringLiteral("ALTER TABLE Ustawienia ADD COLUMN Typ1L INTEGER")}},
        {"Odczyty",
         nullptr,
         {QStringLiteral("Numer"), QStringLiteral("Oceniajacy"), QStringLiteral("Czesc"),
          QStringLiteral("Powtorzenie"), QStringLiteral("Wartosc"), QStringLiteral("Odniesienie"),
          QStringLiteral("Kategoria")},
         {QStringLiteral("CREATE TABLE Odczyty (Numer TEXT NOT NULL, Oceniajacy TEXT, Czesc "
                         "INTEGER, Powtorzenie INTEGER NOT NULL, Wartosc REAL, Odniesienie "
                         "REAL, Kategoria TEXT)"),
          QStringLiteral("CREATE INDEX OdczytyNumer ON Odczyty (Numer)")}},
    };
    return all;
}

// Table names are one whatever their letter case, as SQLite compares them.
bool hasTable(Database& db, const char* table) {
    Statement query(db, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = "
                                       "'table' AND name = ? COLLATE NOCASE"));
    query.bind(1, Value(QString::fromLatin1(table)));
    return query.next();
}

bool present(Database& db, const Addition& a) {
    return a.column ? db.checkTable(a.table, a.fields).isEmpty() : hasTable(db, a.table);
}

}  // namespace

bool hasHistory(Database& db) {
    return hasTable(db, "Historia");
}

bool hasKinds(Database& db) {
    for (const Addition& a : additions()) {
        if (!present(db, a)) {
            return false;
        }
    }
    return true;
}

QString add(Database& db) {
    QStringList missing;
    for (const Addition& a : additions()) {
        if (!present(db, a)) {
            missing << a.statements;
        } else if (const QString problem = db.checkTable(a.table, a.fields); !problem.isEmpty()) {
            return problem;  // another table of that name: refused, never changed
        }
    }
    if (missing.isEmpty()) {
        return {};
    }
    if (!db.begin()) {
        return db.lastError();
    }
    for (const QString& sql : missing) {
        Statement statement(db, sql);
        if (!statement.run()) {
            const QString cause = statement.error();
            db.rollback();
            return cause;
        }
    }
    if (!db.commit()) {
        const QString cause = db.lastError();
        db.rollback();
        return cause;
    }
    return {};
}

}  // namespace SchemaAdditions
