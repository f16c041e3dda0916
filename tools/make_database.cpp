// Writes the delivered database file from db/schema.sql — but never over an existing
// file: a user's data survives every rebuild.
//
//   make_database SCHEMA.sql TARGET.MDB

#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

bool buildInto(const std::string& path, const std::string& schema) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        std::fprintf(stderr, "make_database: cannot create %s: %s\n", path.c_str(),
                     sqlite3_errmsg(db));
        sqlite3_close(db);
        return false;
    }
    char* error = nullptr;
    const std::string script = "BEGIN;\n" + schema + "\nCOMMIT;\n";
    const bool ok = sqlite3_exec(db, script.c_str(), nullptr, nullptr, &error) == SQLITE_OK;
    if (!ok) {
        std::fprintf(stderr, "make_database: schema failed: %s\n", error ? error : "?");
    }
    sqlite3_free(error);
    return sqlite3_close(db) == SQLITE_OK && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_database SCHEMA.sql TARGET\n");
        return 2;
    }
    const std::string target = argv[2];
    if (access(target.c_str(), F_OK) == 0) {
        std::printf("make_database: %s exists, left as it is\n", target.c_str());
        return 0;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::fprintf(stderr, "make_database: cannot read %s\n", argv[1]);
        return 1;
    }
    std::stringstream schema;
    schema << in.rdbuf();

    // Built aside and linked into place: link() refuses to replace a file that appeared
    // meanwhile, and a half-written file is never seen under the real name.
    const std::string temporary = target + ".new-" + std::to_string(getpid());
    unlink(temporary.c_str());
    if (!buildInto(temporary, schema.str())) {
        unlink(temporary.c_str());
        return 1;
    }
    const bool placed = link(temporary.c_str(), target.c_str()) == 0;
    unlink(temporary.c_str());
    if (!placed) {
        if (access(target.c_str(), F_OK) == 0) {
            std::printf("make_database: %s exists, left as it is\n", target.c_str());
            return 0;
        }
        std::perror("make_database: cannot place the database file");
        return 1;
    }
    std::printf("make_database: wrote %s\n", target.c_str());
    return 0;
}
