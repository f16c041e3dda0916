#pragma once

#include <QString>
#include <QStringList>
#include <map>
#include <optional>
#include <vector>

#include "study.h"
#include "verdict.h"

// Attribute agreement (AIAG MSA III-C, Minitab's Attribute Agreement Analysis): parts
// judged by appraisers in trials, each decision a category; optionally each part's
// reference decision. Agreement percentages with exact intervals, Cohen's and Fleiss'
// kappa, and with a reference of two categories the effectiveness, miss and false-alarm
// rates judged by the AIAG table.
namespace Attribute {

constexpr int kFewestParts = 5;
constexpr int kMostParts = 200;
constexpr int kMostAppraisers = 5;
constexpr int kMostTrials = 5;
constexpr double kConfidence = 0.95;

struct Decision {
    int appraiser = 0;  // from 0, in the order of Input::appraisers
    int part = 0;       // from 1
    int trial = 0;      // from 1
    QString category;
};

struct Input {
    QStringList appraisers;
    std::vector<Decision> decisions;
    std::map<int, QString> reference;  // by part; empty: no reference
    QString accept;                    // the accept category of two; empty: "1" or the first
};

// matched of inspected, in percent, with the exact (Clopper–Pearson) 95 % interval.
struct Agreement {
    int matched = 0;
    int inspected = 0;
    double pct = 0;
    double ciLow = 0;
    double ciHigh = 0;
};
Agreement agreement(int matched, int inspected);

struct Rate {
    int count = 0;
    int of = 0;
    double pct = 0;
};

struct AppraiserResult {
    QString name;
    std::optional<Agreement> within;       // one trial: none
    std::optional<Agreement> vsReference;  // no reference: none
    std::optional<double> fleissWithin;
    std::optional<double> fleissVsReference;
    std::optional<double> cohenVsReference;
    // A reference of two categories: the effectiveness (= vsReference), miss and false alarm.
    std::optional<Rate> missRate;
    std::optional<Rate> falseAlarmRate;
    Verdict effectivenessVerdict = Verdict::None;
    Verdict missVerdict = Verdict::None;
    Verdict falseAlarmVerdict = Verdict::None;
};

struct CohenPair {
    int a = 0;
    int b = 0;
    std::optional<double> kappa;
};

enum class Refusal {
    None,
    TooFewParts,
    TooManyParts,
    TooManyAppraisers,
    TooManyTrials,
    Incomplete
};

struct Results {
    QStringList categories;  // in the order first met
    QString accept;          // two categories only
    int parts = 0;
    int trials = 0;
    bool hasReference = false;
    std::vector<AppraiserResult> appraisers;
    std::optional<Agreement> between;  // one appraiser: none
    std::optional<double> fleissBetween;
    std::optional<Agreement> allVsReference;
    std::vector<CohenPair> cohenPairs;
};

struct Outcome {
    std::optional<Results> results;
    Refusal refusal = Refusal::None;
};

Outcome compute(const Input& input);

// A stored study of this kind: the appraisers in the order they are met, each decision by
// appraiser, part and trial; the reference decisions are the rows without an appraiser.
Input inputOf(const ::Study& study);

// Fleiss' kappa of subjects rated m times each, the counts by category; none when the
// expected agreement is 1 (a single category).
std::optional<double> fleiss(const std::vector<std::vector<int>>& counts);
// Cohen's kappa of paired decisions; none when the expected agreement is 1.
std::optional<double> cohen(const std::vector<std::pair<QString, QString>>& pairs);

}  // namespace Attribute
