#pragma once

#include <QString>

#include <optional>

// The command line of both programs: --help and --version answer and end the run; anything
// else is refused. No option changes how a program works: test.ini is its only configuration.
// Parsed before the application object exists, so the answers need no display.
// Returns the exit code when the run ends here, nothing when the program starts.
std::optional<int> answerCommandLine(int &argc, char **argv, const QString &programName,
                                     const QString &description);
