#include "number_proposal.h"

#include "number_pattern.h"
#include "number_reader.h"

QString proposeAnalysisNumber(const QString& lastNumber, bool anyStored,
                              const RegionalSettings& regional) {
    if (!anyStored) {
        return QStringLiteral("1");
    }
    const double leading = readLeadingNumber(lastNumber);
    // The leading number's own shortest text tells how many characters it replaces.
    const int width = static_cast<int>(formatGeneralNumber(leading, regional).size());
    return formatGeneralNumber(leading + 1, regional) + lastNumber.mid(width);
}
