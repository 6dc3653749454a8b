#include "core/questionnaire/questionnaire_report.h"

#include "core/files/ansi_text.h"
#include "core/files/folders.h"
#include "core/program/program_paths.h"
#include "core/questionnaire/questionnaire_file.h"

using namespace Qt::StringLiterals;

namespace QuestionnaireReport {

namespace {

const QString Rule = u"=================="_s;

// A report line with the further CR that the report carries before its line end.
QString line(const QString &text)
{
    return AnsiText::toFileLineEnds(text) + u"\r\r\n"_s;
}

} // namespace

QString header(const QString &questionnaireName, const QString &time, const QString &date)
{
    return line(Rule) + line(u"ТЕСТ: "_s + questionnaireName) + line(time + u' ' + date) + line(Rule)
           + line(Rule);
}

QString answerLine(const QString &question, const QString &answer, const QString &points)
{
    return AnsiText::toFileLineEnds(question + u' ' + answer + u" - "_s + points) + u"\r\n"_s;
}

QString conclusionBlock(const QString &total, const QString &chosen,
                        const std::array<QString, 3> &conclusions, const std::array<QString, 3> &bounds)
{
    return line(Rule) + line(u"Общее количество балов теста: "_s + total) + line(chosen) + line(Rule)
           + line(Rule) + line(u"ВЫВОД №1: "_s + conclusions[0] + u" = до "_s + bounds[0]) + line(Rule)
           + line(u"ВЫВОД №2: "_s + conclusions[1] + u" =  до "_s + bounds[1]) + line(Rule)
           + line(u"ВЫВОД №3: "_s + conclusions[2] + u" =  до "_s + bounds[2]) + line(Rule)
           + u"\r\n\r\n"_s;
}

bool append(const QString &programFolder, const QString &text, QString *error)
{
    const ProgramPaths paths(programFolder);
    MakeDirPath(paths.reportsFolder());
    return AnsiText::append(paths.questionnaireReport(), text, error);
}

} // namespace QuestionnaireReport
