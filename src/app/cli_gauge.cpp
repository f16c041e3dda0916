#include "cli_gauge.h"

#include <QEventLoop>
#include <QLocale>
#include <QTimer>
#include <cstdio>

#include "serial_gauge.h"
#include "transmission_settings.h"

namespace CliGauge {

namespace {

constexpr int kTimedOut = 6;

struct Wanted {
    int count = 1;
    int timeoutMs = 0;  // 0: wait as long as it takes
};

std::optional<Wanted> wantedOf(const QCommandLineParser& p) {
    Wanted w;
    bool ok = true;
    if (p.isSet(QStringLiteral("count"))) {
        w.count = p.value(QStringLiteral("count")).toInt(&ok);
        if (!ok || w.count < 1) {
            return std::nullopt;
        }
    }
    if (p.isSet(QStringLiteral("timeout"))) {
        const double seconds = p.value(QStringLiteral("timeout")).toDouble(&ok);
        if (!ok || !(seconds > 0) || seconds > 86400) {
            return std::nullopt;
        }
        w.timeoutMs = static_cast<int>(seconds * 1000);
    }
    return w;
}

}  // namespace

bool handles(const QString& command) {
    return command == QLatin1String("read-gauge");
}

void describe(QCommandLineParser& parser) {
    parser.addOptions({
        {QStringLiteral("count"), QString::fromUtf8("read-gauge: ile odczytów (domyślnie 1)"),
         QStringLiteral("N")},
        {QStringLiteral("timeout"),
         QString::fromUtf8("read-gauge: ile sekund czekać na odczyt (domyślnie bez końca)"),
         QStringLiteral("S")},
    });
}

bool anyOwnOption(const QCommandLineParser& parser) {
    return parser.isSet(QStringLiteral("count")) || parser.isSet(QStringLiteral("timeout"));
}

int run(const QCommandLineParser& p, const CliExchange::Fail& fail,
        const CliExchange::Fail& usage) {
    const QStringList args = p.positionalArguments();
    const std::optional<Wanted> wanted = wantedOf(p);
    if (args.size() != 2 || !wanted) {
        return usage({}, 64);
    }
    const ParsedSettings parsed = TransmissionSettings::parse(args[1], QString());
    if (!parsed.settings) {
        return fail(parsed.error, 64);
    }
    QString error;
    const std::unique_ptr<SerialGauge> gauge = SerialGauge::open(*parsed.settings, &error);
    if (!gauge) {
        return fail(QString::fromUtf8("Nie można użyć przyrządu: %1.").arg(error), 2);
    }
    fail(QString::fromUtf8("Przyrząd: %1, %2 — czekam na pomiar")
             .arg(parsed.settings->port, parsed.settings->text()),
         0);
    QEventLoop loop;
    int read = 0;
    QObject::connect(gauge.get(), &GaugeSource::reading, &loop, [&](double value) {
        const QByteArray line =
            QString::number(value, 'g', QLocale::FloatingPointShortest).toUtf8() + '\n';
        std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stdout);
        std::fflush(stdout);
        if (++read == wanted->count) {
            loop.exit(0);
        }
    });
    QObject::connect(gauge.get(), &GaugeSource::failed, &loop,
                     [&](const QString& why) { fail(why, 0); });
    QObject::connect(gauge.get(), &GaugeSource::lost, &loop, [&] { loop.exit(2); });
    if (wanted->timeoutMs > 0) {
        QTimer::singleShot(wanted->timeoutMs, &loop, [&] {
            fail(QString::fromUtf8("Nie nadszedł odczyt w ciągu %1 s (odczytano %2 z %3).")
                     .arg(p.value(QStringLiteral("timeout")))
                     .arg(read)
                     .arg(wanted->count),
                 0);
            loop.exit(kTimedOut);
        });
    }
    return loop.exec();
}

}  // namespace CliGauge
