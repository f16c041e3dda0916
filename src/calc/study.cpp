#include "study.h"

std::optional<int> Study::referenceModeOf(const Value& coRef) {
    if (!coRef.isNumber() && !coRef.isEmpty()) {
        return std::nullopt;
    }
    const double mode = coRef.number();
    for (int i = 0; i < 5; ++i) {
        if (mode == i) {
            return i;
        }
    }
    return std::nullopt;
}

namespace {

const char* const kKindNames[] = {"rr", "type1", "linearity", "attribute"};

}  // namespace

std::optional<StudyKind> kindNamed(const QString& name) {
    if (name.isEmpty()) {
        return StudyKind::Crossed;
    }
    for (int i = 0; i < 4; ++i) {
        if (name == QLatin1String(kKindNames[i])) {
            return static_cast<StudyKind>(i);
        }
    }
    return std::nullopt;
}

QString nameOf(StudyKind kind) {
    return QString::fromLatin1(kKindNames[static_cast<int>(kind)]);
}
