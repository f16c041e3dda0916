#pragma once

#include <QDateTime>
#include <QString>
#include <QVector>
#include <functional>

#include "regional_settings.h"

struct SharedValues;

// The program's check of its own figures against published studies. Each reference
// study (values, citation and published figures are data carried with the program) is
// stored in a file of its own and computed through the main window's path: the
// displayed values, the program's factor tables, the study's level. Each figure is
// compared at the precision it was printed with.
namespace Verification {

struct Figure {
    QString name;
    QString published;   // as printed, in the regional decimal form
    QString computed;    // the program's, two digits finer than the published one
    QString difference;  // computed - published
    QString allowed;     // one unit of the last printed digit, or what the source explains
    QString why;         // the source's explanation of a wider allowance
    bool agrees = false;
};

struct Check {
    QString method;
    QString source;
    QVector<Figure> figures;
};

struct Study {
    QString title;
    QString values;   // where the raw values come from
    QString failure;  // why it could not be computed at all; its figures then disagree
    QVector<Check> checks;
};

struct Record {
    QString version;
    QString commit;
    QString made;  // date and time of the check
    QString system;
    QString qt;
    QString sqlite;
    QVector<Study> studies;

    int figures() const;
    int mismatches() const;
    bool passed() const { return figures() > 0 && mismatches() == 0; }
    QString summary() const;
};

struct Options {
    RegionalSettings regional = RegionalSettings::polish();
    QDateTime now = QDateTime::currentDateTime();
    // Runs on each study's values once its file is open, before anything is computed:
    // the seam through which a test makes a factor wrong.
    std::function<void(SharedValues&)> adjust;
};

Record run(const Options& options);

// The record as a plain-text table, one figure a line.
QString plainText(const Record& record);

}  // namespace Verification
