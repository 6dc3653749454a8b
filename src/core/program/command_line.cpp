#include "core/program/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

void print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

} // namespace

std::optional<int> answerCommandLine(int &argc, char **argv, const QString &programName,
                                     const QString &description)
{
    // With no argument there is nothing to answer, and the program starts at once.
    if (argc <= 1)
        return std::nullopt;

    QCoreApplication core(argc, argv);
    QCoreApplication::setApplicationName(programName);
    QCoreApplication::setApplicationVersion(QStringLiteral(TAVRING_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(description);
    // Qt's own help option would offer --help-all and Qt's options, which are refused here.
    const QCommandLineOption help({u"h"_s, u"help"_s}, u"Displays this help and exits."_s);
    const QCommandLineOption version({u"v"_s, u"version"_s}, u"Displays the version and exits."_s);
    parser.addOption(help);
    parser.addOption(version);

    QString error;
    if (!parser.parse(QCoreApplication::arguments()))
        error = parser.errorText();
    else if (!parser.positionalArguments().isEmpty())
        error = u"Unexpected argument: "_s + parser.positionalArguments().constFirst();
    if (!error.isEmpty()) {
        print(stderr, programName + u": "_s + error + u"\nTry '"_s + programName + u" --help'.\n"_s);
        return 2;
    }
    if (parser.isSet(version)) {
        print(stdout, programName + u' ' + QCoreApplication::applicationVersion() + u'\n');
        return 0;
    }
    if (parser.isSet(help)) {
        print(stdout, parser.helpText());
        return 0;
    }
    return std::nullopt;
}
