#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>
#include <utility>

#include "study.h"
#include "value.h"

// One analysis as a study file holds it: its kind, the header fields of the analysis (by
// the database's column names, as text), and its values: for the crossed study N parts
// and the stored measured values by appraiser and trial, appraisers in the order their
// series stand; for a type-1 study the readings in order.
struct StudyFile {
    StudyKind kind = StudyKind::Crossed;
    QVector<std::pair<QString, QString>> header;
    int parts = 0;
    QStringList appraisers;
    QVector<QVector<QVector<Value>>> values;  // [appraiser][part][trial], all from 0
    QVector<Value> readings;                  // a type-1 study's, in order
    // A study of known parts (bias and linearity): each reading's part and reference value,
    // as long as `readings`.
    QVector<int> readingParts;
    QVector<double> readingReferences;
    // An attribute study: each decision's appraiser and trial (its part above, its category
    // the reading's text), and each part's reference decision when the study has one.
    QStringList readingAppraisers;
    QVector<int> readingTrials;
    QMap<int, QString> referenceDecisions;
    // The decimal the file's data showed; its header fields' numbers are read with it.
    // None when no value had one (any one then reads).
    std::optional<QChar> decimal;

    int trials() const {
        return values.isEmpty() || values[0].isEmpty() ? 0 : static_cast<int>(values[0][0].size());
    }
    Value value(int appraiser, int part, int trial) const {
        return values.value(appraiser).value(part).value(trial);
    }
    QString headerValue(const QString& field) const {
        for (const auto& [name, text] : header) {
            if (name == field) {
                return text;
            }
        }
        return {};
    }
};
