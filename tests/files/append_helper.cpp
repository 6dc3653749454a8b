// Appends records to the exam report of a program folder, as one workstation would:
//   append_helper <program folder> <process> <count> [<index that fails half way>]
// The exit code is the number of appends that failed; each failure is said on a line of the
// output as "<reason>: <file>" in English.
#include "append_record.h"
#include "core/files/ansi_text.h"
#include "core/program/language_policy.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 4)
        return 100;
    const QString folder = arguments.at(1);
    const int process = arguments.at(2).toInt();
    const int count = arguments.at(3).toInt();
    const int failing = arguments.size() > 4 ? arguments.at(4).toInt() : -1;
    int failures = 0;
    for (int index = 0; index < count; ++index) {
        if (index == failing)
            AnsiText::Faults::failWriteAfter(9);
        FileError error;
        if (!ExamReport::append(folder, appendedRecord(process, index), &error)) {
            ++failures;
            std::printf("%s: %s\n", qPrintable(error.reason(LanguagePolicy(u"eng"_s)).toLower()), qPrintable(error.path()));
        }
    }
    return failures;
}
