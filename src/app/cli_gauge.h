#pragma once

#include <QCommandLineParser>

#include "cli_exchange.h"

// kalmet-cli read-gauge SETTINGS [--count N] [--timeout S]: the gauge opened as the series
// editor opens it, each reading printed on its own line of standard output in the C
// locale's decimal form; device errors and refused lines on standard error. Exit 0 after
// N readings (1 unless asked), 2 when the port cannot be opened, refuses a setting or is
// lost, 6 when no reading came in time, 64 for a malformed settings text.
namespace CliGauge {

bool handles(const QString& command);
void describe(QCommandLineParser& parser);
bool anyOwnOption(const QCommandLineParser& parser);
int run(const QCommandLineParser& parser, const CliExchange::Fail& fail,
        const CliExchange::Fail& usage);

}  // namespace CliGauge
