#include "result_texts.h"

#include <optional>

#include "number_pattern.h"

namespace ResultTexts {

Texts of(const StudyOutput& study, const QString& numberPattern, ShownNumbers* given,
         const RegionalSettings& regional) {
    Texts texts;
    if (!study.complete || study.seriesCount == 0) {
        return texts;
    }
    std::optional<ShownNumbers> own;
    ShownNumbers& shown = given && given->serves(regional) ? *given : own.emplace(regional);
    const QString blank(QLatin1Char(' '));
    const NumberPattern percent(QStringLiteral("#0.00"));
    const auto number = [&](std::optional<double> v) {
        return v ? shown.text(*v, numberPattern) + blank : QString();
    };
    const auto percentage = [&](std::optional<double> v) {
        return v ? percent.format(*v, regional) + blank : QString();
    };
    const RRResults& r = study.results;
    const std::pair<int, std::optional<double>> numbers[] = {
        {Panels::kRp, r.Rp},     {Panels::kMeanRange, r.meanRange},
        {Panels::kXdif, r.Xdif}, {Panels::kEV, r.EV},
        {Panels::kAV, r.AV},     {Panels::kRR, r.RR},
        {Panels::kPV, r.PV},     {Panels::kTV, r.TV},
        {Panels::kREF, r.REF}};
    for (const auto& [panel, value] : numbers) {
        texts[static_cast<std::size_t>(panel)] = number(value);
    }
    texts[Panels::kPercentEV] = percentage(r.percentEV);
    texts[Panels::kPercentAV] = percentage(r.percentAV);
    texts[Panels::kPercentRR] = percentage(r.percentRR);
    texts[Panels::kResolution] =
        (r.resolution ? QString::number(*r.resolution, 'f', 0) : QString()) + blank;
    return texts;
}

}  // namespace ResultTexts
