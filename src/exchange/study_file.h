#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>
#include <utility>

#include "value.h"

// One analysis as a study file holds it: the header fields of the analysis (by the
// database's column names, as text), N parts, and the stored measured values by
// appraiser and trial, appraisers in the order their series stand.
struct StudyFile {
    QVector<std::pair<QString, QString>> header;
    int parts = 0;
    QStringList appraisers;
    QVector<QVector<QVector<Value>>> values;  // [appraiser][part][trial], all from 0
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
