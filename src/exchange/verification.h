#pragma once

#include <QDateTime>
#include <QString>
#include <QVector>
#include <functional>

#include "regional_settings.h"
#include "verdict.h"

struct SharedValues;

// The program's check of its own figures against published studies. Each reference
// study (values, citation and published figures are data carried with the program) is
// stored in a file of its own and computed through the main window's path: the
// displayed values, the program's factor tables, the study's level. Each figure is
// compared at the precision it was printed with.
namespace Verification {

// Whether a figure's reference value is printed in its source, or was derived from the
// published data by the published method (and is labelled so, never "published").
enum class Source { Published, Derived };
// A figure the program could not compute (its study could not be stored or read) is
// neither in agreement nor in disagreement.
enum class Outcome { Agrees, Disagrees, NotComputed };

struct Figure {
    QString name;
    QString reference;   // as printed or derived, in the regional decimal form
    QString computed;    // the program's, two digits finer than the reference
    QString difference;  // computed - reference
    QString allowed;     // one unit of the last digit, or what the explanation gives
    QString why;         // why a wider allowance is right
    Source source = Source::Published;
    Outcome outcome = Outcome::NotComputed;
    bool agrees() const { return outcome == Outcome::Agrees; }
};

struct Check {
    QString method;
    QString source;
    QVector<Figure> figures;
};

struct Study {
    QString title;
    QString values;   // where the raw values come from
    QString failure;  // why it could not be computed at all; its figures are then not computed
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
    int notComputed() const;
    int ofSource(Source source) const;
    // Every figure computed and in agreement.
    bool passed() const { return figures() > 0 && mismatches() == 0 && notComputed() == 0; }
    // Nothing disagrees, but something could not be computed: no verdict on the program.
    bool incomplete() const { return figures() == 0 || notComputed() > 0; }
    QString summary() const;
    // 0 when passed, 1 when a computed figure disagrees, 2 when a study could not be
    // computed (no record to sign).
    int exitCode() const;
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
// "opublikowana" / "wyprowadzona"; "zgodny" / "NIEZGODNY" / "nie obliczono".
QString sourceWord(Source source);
QString outcomeWord(Outcome outcome);
// The colour of an outcome and of the whole record: agreement green, disagreement red,
// nothing computed white (no verdict).
Verdict verdictOf(Outcome outcome);
Verdict verdictOf(const Record& record);

}  // namespace Verification
