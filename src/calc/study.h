#pragma once

#include <QString>
#include <QVector>
#include <optional>

#include "shown_numbers.h"
#include "value.h"

// The kinds of study the program keeps. A file without a kind column holds crossed
// studies only.
enum class StudyKind { Crossed, Type1, Linearity, Attribute };

// The kind as Analiza.Rodzaj and the program's files name it: "rr" (stored as empty),
// "type1", "linearity", "attribute". None for a name the program does not know.
std::optional<StudyKind> kindNamed(const QString& name);
QString nameOf(StudyKind kind);

// One reading of a study: who measured (empty where the kind has none), which part
// (from 1), which trial (from 1) and what: a number, empty, or a text another program
// stored in its place. A study of known parts carries each part's reference value; an
// attribute study its category.
struct Observation {
    Value appraiser;
    int part = 0;
    int trial = 0;
    Value value;
    std::optional<double> reference;
    QString category;
};

// The input of every method: the kind, the analysis header, the settings the methods
// read, and the observations in the order they are stored.
struct Study {
    StudyKind kind = StudyKind::Crossed;

    // The analysis header.
    Value parts;          // LiczbaN
    Value appraisers;     // LiczbaK
    Value trials;         // LiczbaR
    Value referenceMode;  // CoRef
    Value WN;
    Value GWG;
    Value DWG;
    Value master;            // Wzorzec: the reference part's value (type-1 study)
    Value resolution;        // Rozdzielczosc: the gauge's resolution; empty: read off the readings
    Value processVariation;  // ZmProc: 6 σ of the process (bias and linearity)
    Value accept;            // Akceptacja: the accept category of an attribute study

    // The settings.
    Value FRTol;
    QString numberPattern;  // FP
    int level = 0;
    Value POK;
    float PSR = 0.0f;
    Value IK1;
    Value IK2;
    Value type1K;  // empty: 20 %
    Value type1L;  // empty: 6

    QVector<Observation> observations;
    // Where the texts of the numbers already shown are kept; none: each is made anew.
    ShownNumbers* shown = nullptr;

    // The reference mode 0..4 that CoRef names (empty counts as 0); none for a text or
    // any other number. The statistics, the main window and the report read it alike.
    static std::optional<int> referenceModeOf(const Value& coRef);
};
