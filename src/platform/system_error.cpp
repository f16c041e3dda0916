#include "system_error.h"

#include <cerrno>
#include <utility>

QString systemErrorText(int code) {
    static const std::pair<int, const char*> known[] = {
        {ENOSPC, "brak miejsca na dysku"},
        {EDQUOT, "przekroczony przydział miejsca na dysku"},
        {EFBIG, "plik za duży dla systemu plików"},
        {EIO, "błąd odczytu lub zapisu na dysku"},
        {EROFS, "system plików tylko do odczytu"},
        {EACCES, "brak uprawnień"},
        {EPERM, "operacja niedozwolona"},
        {ENOENT, "nie ma takiego pliku ani folderu"},
        {ENOTDIR, "część ścieżki nie jest folderem"},
        {EISDIR, "to jest folder"},
        {ENAMETOOLONG, "za długa nazwa pliku"},
        {EMFILE, "za dużo otwartych plików"},
        {ENFILE, "za dużo otwartych plików w systemie"},
        {ENOMEM, "brak pamięci"},
        {EBUSY, "urządzenie lub zasób zajęty"},
        {EAGAIN, "zasób chwilowo niedostępny"},
        {ENXIO, "nie ma takiego urządzenia"},
        {ENODEV, "nie ma takiego urządzenia"},
        {EEXIST, "plik już istnieje"},
        {ETXTBSY, "plik jest używany"},
    };
    for (const auto& [errorCode, text] : known) {
        if (errorCode == code) {
            return QString::fromUtf8(text);
        }
    }
    return QString::fromUtf8("błąd systemu nr %1").arg(code);
}
