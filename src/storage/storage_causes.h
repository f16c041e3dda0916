#pragma once

#include <QString>

// Causes the storage finds itself, not reported by the engine, as the user reads them.
namespace StorageCauses {

// Rows that contradict the index, or a stored value no program of ours writes.
QString damagedFile();

}  // namespace StorageCauses
