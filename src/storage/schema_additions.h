#pragma once

#include <QString>

class Database;

// What this program adds to a file beside the four tables of its delivered layout, once,
// at the program's own (writable) start, in one transaction: the history of corrections
// (Historia), the kind of each analysis (Analiza.Rodzaj; empty for the crossed R&R study)
// with the header fields of the other kinds (Analiza.Wzorzec, Analiza.Rozdzielczosc,
// Analiza.ZmProc), their settings (Ustawienia.Typ1K, Ustawienia.Typ1L) and their readings, one row
// each (Odczyty). The four tables keep every row as it was, so a file keeps opening in an older
// version, which ignores what it does not know. A file without the additions (read-only, or from
// before them) holds crossed R&R studies only and works as before; kalmet-cli never adds them.
namespace SchemaAdditions {

// Adds what the file lacks; empty on success, else the cause. A table of one of these
// names (in any letter case) that lacks a field refuses the start.
QString add(Database& db);

bool hasHistory(Database& db);
// Every addition: the file can hold studies of other kinds.
bool hasKinds(Database& db);

}  // namespace SchemaAdditions
