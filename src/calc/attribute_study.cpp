#include "attribute_study.h"

#include <algorithm>
#include <boost/math/distributions/beta.hpp>

#include "binary_noise.h"

namespace Attribute {

namespace {

using InDouble = boost::math::policies::policy<boost::math::policies::promote_double<false>>;

// The decisions by appraiser, part and trial.
using Grid = std::map<int, std::map<int, std::map<int, QString>>>;

Verdict atLeast(double pct, double good, double marginal) {
    return BinaryNoise::atLeast(pct, good)       ? Verdict::Accepted
           : BinaryNoise::atLeast(pct, marginal) ? Verdict::Conditional
                                                 : Verdict::Rejected;
}

Verdict atMost(double pct, double good, double marginal) {
    return BinaryNoise::atMost(pct, good)       ? Verdict::Accepted
           : BinaryNoise::atMost(pct, marginal) ? Verdict::Conditional
                                                : Verdict::Rejected;
}

std::vector<int> countsOf(const QStringList& decisions, const QStringList& categories) {
    std::vector<int> counts(static_cast<std::size_t>(categories.size()), 0);
    for (const QString& d : decisions) {
        ++counts[static_cast<std::size_t>(categories.indexOf(d))];
    }
    return counts;
}

bool allEqual(const QStringList& decisions, const QString& to) {
    return std::all_of(decisions.begin(), decisions.end(),
                       [&](const QString& d) { return d == to; });
}

struct Decisions {
    Grid grid;
    std::vector<int> parts;
    int trials = 0;
    QStringList categories;
};

QStringList trialsOf(const Decisions& s, int appraiser, int part) {
    QStringList out;
    for (const auto& [trial, category] : s.grid.at(appraiser).at(part)) {
        out << category;
    }
    return out;
}

void addWithin(const Decisions& s, int a, AppraiserResult& r) {
    if (s.trials < 2) {
        return;
    }
    int matched = 0;
    std::vector<std::vector<int>> counts;
    for (int part : s.parts) {
        const QStringList trials = trialsOf(s, a, part);
        matched += allEqual(trials, trials.first()) ? 1 : 0;
        counts.push_back(countsOf(trials, s.categories));
    }
    r.within = agreement(matched, static_cast<int>(s.parts.size()));
    r.fleissWithin = fleiss(counts);
}

void addVsReference(const Decisions& s, const Input& in, int a, AppraiserResult& r) {
    int matched = 0;
    std::vector<std::pair<QString, QString>> pairs;
    std::vector<std::vector<int>> counts;
    for (int part : s.parts) {
        const QString& ref = in.reference.at(part);
        const QStringList trials = trialsOf(s, a, part);
        matched += allEqual(trials, ref) ? 1 : 0;
        for (const QString& d : trials) {
            pairs.emplace_back(d, ref);
            counts.push_back(countsOf({d, ref}, s.categories));
        }
    }
    r.vsReference = agreement(matched, static_cast<int>(s.parts.size()));
    r.cohenVsReference = cohen(pairs);
    r.fleissVsReference = fleiss(counts);
}

// Two categories and a reference: the accept decisions on bad parts (misses) and the
// reject decisions on good parts (false alarms), as shares of the decisions on them.
void addRates(const Decisions& s, const Input& in, const QString& accept, int a,
              AppraiserResult& r) {
    Rate miss;
    Rate falseAlarm;
    for (int part : s.parts) {
        const bool good = in.reference.at(part) == accept;
        for (const QString& d : trialsOf(s, a, part)) {
            Rate& rate = good ? falseAlarm : miss;
            ++rate.of;
            rate.count += (good ? d != accept : d == accept) ? 1 : 0;
        }
    }
    for (Rate* rate : {&miss, &falseAlarm}) {
        rate->pct = rate->of > 0 ? 100.0 * rate->count / rate->of : 0;
    }
    r.missRate = miss;
    r.falseAlarmRate = falseAlarm;
    r.effectivenessVerdict = atLeast(r.vsReference->pct, 90, 80);
    r.missVerdict = atMost(miss.pct, 2, 5);
    r.falseAlarmVerdict = atMost(falseAlarm.pct, 5, 10);
}

void addBetween(const Decisions& s, const Input& in, Results& r) {
    const int k = static_cast<int>(in.appraisers.size());
    int matched = 0;
    int matchedReference = 0;
    std::vector<std::vector<int>> counts;
    for (int part : s.parts) {
        QStringList all;
        for (int a = 0; a < k; ++a) {
            all += trialsOf(s, a, part);
        }
        matched += allEqual(all, all.first()) ? 1 : 0;
        if (r.hasReference) {
            matchedReference += allEqual(all, in.reference.at(part)) ? 1 : 0;
        }
        counts.push_back(countsOf(all, s.categories));
    }
    const int n = static_cast<int>(s.parts.size());
    if (k > 1) {
        r.between = agreement(matched, n);
        r.fleissBetween = fleiss(counts);
    }
    if (r.hasReference) {
        r.allVsReference = agreement(matchedReference, n);
    }
}

// Each pair of appraisers, trial by trial.
void addCohenPairs(const Decisions& s, const Input& in, Results& r) {
    const int k = static_cast<int>(in.appraisers.size());
    for (int a = 0; a < k; ++a) {
        for (int b = a + 1; b < k; ++b) {
            std::vector<std::pair<QString, QString>> pairs;
            for (int part : s.parts) {
                for (int t = 1; t <= s.trials; ++t) {
                    pairs.emplace_back(s.grid.at(a).at(part).at(t), s.grid.at(b).at(part).at(t));
                }
            }
            r.cohenPairs.push_back({a, b, cohen(pairs)});
        }
    }
}

std::optional<Decisions> studyOf(const Input& in, Refusal* refusal) {
    Decisions s;
    std::map<int, bool> parts;
    for (const Decision& d : in.decisions) {
        s.grid[d.appraiser][d.part][d.trial] = d.category;
        parts[d.part] = true;
        s.trials = std::max(s.trials, d.trial);
        if (!s.categories.contains(d.category)) {
            s.categories << d.category;
        }
    }
    for (const auto& [part, ref] : in.reference) {
        if (!s.categories.contains(ref)) {
            s.categories << ref;
        }
    }
    for (const auto& [part, seen] : parts) {
        s.parts.push_back(part);
    }
    const int n = static_cast<int>(s.parts.size());
    const int k = static_cast<int>(in.appraisers.size());
    *refusal = n < kFewestParts                         ? Refusal::TooFewParts
               : n > kMostParts                         ? Refusal::TooManyParts
               : k < 1 || k > kMostAppraisers           ? Refusal::TooManyAppraisers
               : s.trials < 1 || s.trials > kMostTrials ? Refusal::TooManyTrials
                                                        : Refusal::None;
    // Every appraiser judged every part in every trial; a reference, when given, for all.
    for (int a = 0; a < k && *refusal == Refusal::None; ++a) {
        for (int part : s.parts) {
            const auto& byPart = s.grid[a][part];
            if (static_cast<int>(byPart.size()) != s.trials ||
                (!in.reference.empty() && !in.reference.count(part))) {
                *refusal = Refusal::Incomplete;
            }
        }
    }
    return *refusal == Refusal::None ? std::optional(s) : std::nullopt;
}

}  // namespace

Agreement agreement(int matched, int inspected) {
    Agreement a{matched, inspected, inspected > 0 ? 100.0 * matched / inspected : 0, 0, 100};
    const double alpha = 1 - kConfidence;
    if (matched > 0) {
        const boost::math::beta_distribution<double, InDouble> low(matched,
                                                                   inspected - matched + 1);
        a.ciLow = 100 * boost::math::quantile(low, alpha / 2);
    }
    if (matched < inspected) {
        const boost::math::beta_distribution<double, InDouble> high(matched + 1,
                                                                    inspected - matched);
        a.ciHigh = 100 * boost::math::quantile(high, 1 - alpha / 2);
    }
    return a;
}

std::optional<double> fleiss(const std::vector<std::vector<int>>& counts) {
    if (counts.empty()) {
        return std::nullopt;
    }
    double m = 0;
    for (int c : counts.front()) {
        m += c;
    }
    if (m < 2) {
        return std::nullopt;
    }
    std::vector<double> byCategory(counts.front().size(), 0);
    double agreementSum = 0;
    for (const std::vector<int>& subject : counts) {
        double squares = 0;
        for (std::size_t c = 0; c < subject.size(); ++c) {
            squares += static_cast<double>(subject[c]) * subject[c];
            byCategory[c] += subject[c];
        }
        agreementSum += (squares - m) / (m * (m - 1));
    }
    const double n = static_cast<double>(counts.size());
    double expected = 0;
    for (double total : byCategory) {
        const double p = total / (n * m);
        expected += p * p;
    }
    if (expected >= 1) {
        return std::nullopt;
    }
    return (agreementSum / n - expected) / (1 - expected);
}

std::optional<double> cohen(const std::vector<std::pair<QString, QString>>& pairs) {
    if (pairs.empty()) {
        return std::nullopt;
    }
    std::map<QString, double> first;
    std::map<QString, double> second;
    double agree = 0;
    for (const auto& [a, b] : pairs) {
        first[a] += 1;
        second[b] += 1;
        agree += a == b ? 1 : 0;
    }
    const double n = static_cast<double>(pairs.size());
    double expected = 0;
    for (const auto& [category, count] : first) {
        const auto other = second.find(category);
        expected += other == second.end() ? 0 : (count / n) * (other->second / n);
    }
    if (expected >= 1) {
        return std::nullopt;
    }
    return (agree / n - expected) / (1 - expected);
}

Input inputOf(const ::Study& study) {
    Input in;
    for (const Observation& o : study.observations) {
        const QString who = o.appraiser.isText() ? o.appraiser.text() : QString();
        if (who.isEmpty()) {
            in.reference[o.part] = o.category;
            continue;
        }
        if (!in.appraisers.contains(who)) {
            in.appraisers << who;
        }
        in.decisions.push_back(
            {static_cast<int>(in.appraisers.indexOf(who)), o.part, o.trial, o.category});
    }
    in.accept = study.accept.isText() ? study.accept.text() : QString();
    return in;
}

Outcome compute(const Input& in) {
    Refusal refusal = Refusal::None;
    const std::optional<Decisions> study = studyOf(in, &refusal);
    if (!study) {
        return {std::nullopt, refusal};
    }
    Results r;
    r.categories = study->categories;
    r.parts = static_cast<int>(study->parts.size());
    r.trials = study->trials;
    r.hasReference = !in.reference.empty();
    const bool two = r.categories.size() == 2;
    if (two) {
        r.accept = !in.accept.isEmpty() && r.categories.contains(in.accept) ? in.accept
                   : r.categories.contains(QStringLiteral("1"))             ? QStringLiteral("1")
                                                                            : r.categories.first();
    }
    for (int a = 0; a < in.appraisers.size(); ++a) {
        AppraiserResult ar;
        ar.name = in.appraisers[a];
        addWithin(*study, a, ar);
        if (r.hasReference) {
            addVsReference(*study, in, a, ar);
            if (two) {
                addRates(*study, in, r.accept, a, ar);
            }
        }
        r.appraisers.push_back(ar);
    }
    addBetween(*study, in, r);
    addCohenPairs(*study, in, r);
    return {r, Refusal::None};
}

}  // namespace Attribute
