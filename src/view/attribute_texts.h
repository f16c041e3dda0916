#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include "attribute_study.h"
#include "regional_settings.h"

// The texts of an attribute agreement study for its window page and its report page: its
// tables (agreement with intervals, kappa, and with a reference of two categories the
// effectiveness, miss and false-alarm rates in their verdict colours) and what the reader
// must know of the figures a study of its shape does not have.
namespace AttributeTexts {

struct Table {
    QString title;
    QStringList headings;
    QVector<QStringList> rows;
    QVector<QVector<Verdict>> verdicts;  // by row and column; None where not judged
};

QVector<Table> tables(const Attribute::Results& results, const RegionalSettings& regional);
QStringList notes(const Attribute::Results& results);
QString refusal(Attribute::Refusal refusal);
// "0,86 (dobra)": a kappa and its reading; "—" for none.
QString kappaText(std::optional<double> kappa, const RegionalSettings& regional);

}  // namespace AttributeTexts
