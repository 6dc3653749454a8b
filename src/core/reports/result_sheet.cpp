#include "core/reports/result_sheet.h"

#include "core/program/language_policy.h"
#include "core/reports/exam_record_texts.h"

using namespace Qt::StringLiterals;

namespace ResultSheet {

namespace {

QString paragraph(const QString &caption, const QString &value)
{
    return u"<p><b>"_s + caption.toHtmlEscaped() + u"</b> "_s + value.toHtmlEscaped() + u"</p>"_s;
}

} // namespace

QString html(const QString &programTitle, const Attempt &attempt, const QString &date, const QString &time)
{
    const LanguagePolicy language(attempt.language);
    const auto text = [&language](const QString &russian, const QString &english) {
        return language.englishUnlessRussian(russian, english);
    };
    QString page = u"<html><body style=\"font-size:10pt\"><h2>"_s + programTitle.toHtmlEscaped() + u"</h2>"_s;
    page += paragraph(text(u"Дата:"_s, u"Date:"_s), date) + paragraph(text(u"Время:"_s, u"Time:"_s), time);
    page += paragraph(text(u"Студент:"_s, u"Student:"_s),
                      attempt.student.name.isEmpty() ? attempt.student.line.trimmed() : attempt.student.name);
    for (const QString &data : {attempt.student.data1, attempt.student.data2, attempt.student.data3}) {
        if (!data.trimmed().isEmpty())
            page += paragraph(text(u"Данные:"_s, u"Data:"_s), data.trimmed());
    }
    if (!attempt.examTitle.isEmpty())
        page += paragraph(text(u"Экзамен:"_s, u"Exam:"_s), attempt.examTitle);
    page += paragraph(text(u"Билет:"_s, u"Ticket:"_s), attempt.ticket);

    page += u"<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\"><thead><tr>"_s;
    for (const QString &header : {text(u"№"_s, u"No."_s), text(u"Вопрос"_s, u"Question"_s),
                                  text(u"Выбранный ответ"_s, u"Answer chosen"_s), text(u"Оценка"_s, u"Mark"_s)})
        page += u"<th>"_s + header.toHtmlEscaped() + u"</th>"_s;
    page += u"</tr></thead><tbody>"_s;
    for (const Attempt::Question &question : attempt.questions) {
        const bool answered = ExamRecordTexts::isMarked(question.mark);
        const QString chosen = answered && !question.chosen.isEmpty() ? question.chosen
                                                                      : text(u"нет ответа"_s, u"not answered"_s);
        page += u"<tr><td>"_s + QString::number(question.number) + u"</td><td>"_s
                + question.text.simplified().toHtmlEscaped() + u"</td><td>"_s + chosen.simplified().toHtmlEscaped()
                + u"</td><td align=\"center\">"_s + (answered ? question.mark : u"—"_s).toHtmlEscaped()
                + u"</td></tr>"_s;
    }
    page += u"</tbody></table>"_s;

    if (!attempt.grade.isEmpty())
        page += paragraph(text(u"Оценка за билет:"_s, u"Grade:"_s), attempt.grade);
    const QString verdict = ExamRecordTexts::verdictCaption(
        attempt.verdict, language.isRussian() ? LanguagePolicy::Captions::Russian : LanguagePolicy::Captions::English);
    if (!verdict.isEmpty())
        page += u"<h3>"_s + verdict.toHtmlEscaped() + u"</h3>"_s;
    return page + u"</body></html>"_s;
}

} // namespace ResultSheet
