#include "storage_causes.h"

QString StorageCauses::damagedFile() {
    return QString::fromUtf8("plik bazy danych jest uszkodzony");
}
