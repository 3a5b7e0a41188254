#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The client's own command line: `--help` and `--version` print and end the program before anything
// needs a display. Every other argument belongs to Qt (e.g. `-platform`) and is left alone.
struct CommandLineAnswer
{
    QString text; // for standard output
    int exitCode = 0;
};

// The answer to print when the arguments ask for help or the version; none when the program runs.
std::optional<CommandLineAnswer> answerCommandLine(const QStringList &arguments);

// The program's version, as the build gives it.
QString programVersion();
