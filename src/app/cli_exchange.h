#pragma once

#include <QCommandLineParser>
#include <functional>

// kalmet-cli's study-file commands: export, import and export-all. Each returns the exit
// code; messages go to standard error through `fail`.
namespace CliExchange {

using Fail = std::function<int(const QString& message, int code)>;

bool handles(const QString& command);
void describe(QCommandLineParser& parser);
// True when one of these commands' own options is set.
bool anyOwnOption(const QCommandLineParser& parser);
int run(const QCommandLineParser& parser, const Fail& fail, const Fail& usage);

}  // namespace CliExchange
