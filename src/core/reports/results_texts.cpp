#include "core/reports/results_texts.h"

#include "core/program/language_policy.h"
#include "core/reports/exam_record_texts.h"

using namespace Qt::StringLiterals;

namespace ResultsTexts {

QString pick(const QString &language, const QString &russian, const QString &english)
{
    return LanguagePolicy(language).text(russian, english);
}

QString verdict(RecordedVerdict verdict, const QString &language)
{
    switch (verdict) {
    case RecordedVerdict::None:
        return pick(language, u"Без вердикта"_s, u"No verdict"_s);
    case RecordedVerdict::Passed:
        return ExamRecordTexts::verdictCaption(Verdict::Passed, LanguagePolicy(language).captions());
    case RecordedVerdict::Failed:
        return ExamRecordTexts::verdictCaption(Verdict::Failed, LanguagePolicy(language).captions());
    case RecordedVerdict::FailedOnTime:
        return ExamRecordTexts::verdictCaption(Verdict::FailedOnTime, LanguagePolicy(language).captions());
    case RecordedVerdict::Other:
        break;
    }
    return pick(language, u"Другой вердикт"_s, u"Other verdict"_s);
}

QString problem(ReportProblem::Kind kind, const QString &language)
{
    switch (kind) {
    case ReportProblem::NotARecord:
        return pick(language, u"Текст вне записей"_s, u"Text outside the records"_s);
    case ReportProblem::MissingLine:
        return pick(language, u"В записи не хватает строки"_s, u"A line of the record is missing"_s);
    case ReportProblem::NoClosingLine:
        return pick(language, u"Запись без строки из знаков ="_s, u"A record without its line of = signs"_s);
    case ReportProblem::CutRecord:
        return pick(language, u"Запись оборвана"_s, u"The record is cut off"_s);
    case ReportProblem::UnreadableMark:
        return pick(language, u"Оценка не читается"_s, u"A mark cannot be read"_s);
    case ReportProblem::UnreadableDate:
        return pick(language, u"Дата или время не читаются"_s, u"The date or time cannot be read"_s);
    case ReportProblem::CutConclusion:
        return pick(language, u"Вывод теста оборван"_s, u"The conclusion block is cut off"_s);
    case ReportProblem::DamagedAttempt:
        return pick(language, u"Строка журнала попыток повреждена"_s, u"A damaged line of the attempts journal"_s);
    }
    return QString();
}

} // namespace ResultsTexts
