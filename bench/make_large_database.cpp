// Writes a database for the benchmarks: the delivered schema plus COUNT complete
// studies of 10 parts x 3 appraisers x 3 trials (9 series each).
//
//   make_large_database SCHEMA.sql TARGET COUNT

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace {

bool exec(sqlite3* db, const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "make_large_database: %s\n", error ? error : "?");
        sqlite3_free(error);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: make_large_database SCHEMA.sql TARGET COUNT\n");
        return 2;
    }
    const long count = std::atol(argv[3]);
    std::ifstream in(argv[1]);
    std::stringstream schema;
    schema << in.rdbuf();
    std::remove(argv[2]);
    sqlite3* db = nullptr;
    if (sqlite3_open(argv[2], &db) != SQLITE_OK || !exec(db, "PRAGMA synchronous=OFF") ||
        !exec(db, "BEGIN") || !exec(db, schema.str())) {
        return 1;
    }
    sqlite3_stmt* analysis = nullptr;
    sqlite3_stmt* series = nullptr;
    sqlite3_prepare_v2(
        db,
        "INSERT INTO Analiza (Numer, LiczbaN, LiczbaK, LiczbaR, Data, NazwaC, NumerC, "
        "Parametr, Jednostka, WN, GWG, DWG, CoRef, NazwaP, NumerP, ZakresP, BladP, NazwaT, "
        "Setings) VALUES (?, 10, 3, 3, '2026-01-01', 'Wałek', 'W-1', 'Średnica', 'mm', "
        "1.33, 12.05, 11.95, 3, 'Mikrometr', 'M-1', '0-25', '0,001', 'Brak', 'X')",
        -1, &analysis, nullptr);
    sqlite3_prepare_v2(
        db,
        "INSERT INTO DanePom (ID, Operator, P1, P2, P3, P4, P5, P6, P7, P8, P9, P10, ObX) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
        -1, &series, nullptr);
    std::mt19937 random(2026);
    std::normal_distribution<double> noise(0.0, 0.003);
    const char* appraisers[] = {"Anna", "Bogdan", "Cezary"};
    for (long a = 1; a <= count; ++a) {
        const std::string numer = std::to_string(a) + "/2026";
        sqlite3_bind_text(analysis, 1, numer.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_step(analysis);
        sqlite3_reset(analysis);
        for (const char* who : appraisers) {
            for (int t = 0; t < 3; ++t) {
                sqlite3_bind_text(series, 1, numer.c_str(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_text(series, 2, who, -1, SQLITE_STATIC);
                double sum = 0;
                for (int j = 0; j < 10; ++j) {
                    const double v = 12.0 + j * 0.01 + noise(random);
                    sum += v;
                    sqlite3_bind_double(series, 3 + j, v);
                }
                sqlite3_bind_double(series, 13, sum / 10);
                sqlite3_step(series);
                sqlite3_reset(series);
            }
        }
    }
    sqlite3_finalize(analysis);
    sqlite3_finalize(series);
    const bool ok = exec(db, "COMMIT");
    sqlite3_close(db);
    std::printf("make_large_database: %ld analyses, %ld series in %s\n", count, count * 9, argv[2]);
    return ok ? 0 : 1;
}
