#pragma once

#include <QString>

// The delivered captions pad with blanks so that a unit ("°C", "%") or a colon lines up
// beside the box drawn over the blanks. Here the label takes the words and the colon,
// and whatever stands after the box becomes a label of its own.
struct CaptionParts {
    QString label;
    QString unit;

    static CaptionParts split(const QString& caption);
};
