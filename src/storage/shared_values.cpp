#include "shared_values.h"

#include "record_set.h"

int SharedValues::levelFromProc(const Value& proc) {
    return compareValues(proc, Value(99)) == 0 ? 0 : 1;
}

void SharedValues::refreshAfterSettingsWindow(const RecordSet& row) {
    POK = row.field(QStringLiteral("POK"));
    PSR = static_cast<float>(row.field(QStringLiteral("PSR")).toNumber(regional));
    FD = row.field(QStringLiteral("FD"));
    FP = row.field(QStringLiteral("FP"));
    type1K = row.field(QStringLiteral("Typ1K"));
    type1L = row.field(QStringLiteral("Typ1L"));
}

void SharedValues::refreshAfterSettingsCommand(const RecordSet& row) {
    refreshAfterSettingsWindow(row);
    IK1 = row.field(QStringLiteral("IK1"));
    IK2 = row.field(QStringLiteral("IK2"));
    level = levelFromProc(row.field(QStringLiteral("Proc")));
}

void SharedValues::load(const RecordSet& row) {
    refreshAfterSettingsCommand(row);
    Firma = row.field(QStringLiteral("Firma"));
}
