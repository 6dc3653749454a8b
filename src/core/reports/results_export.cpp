#include "core/reports/results_export.h"

#include "core/files/ansi_text.h"
#include "core/program/language_policy.h"
#include "core/reports/exam_record_texts.h"
#include "core/reports/results_texts.h"

#include <QAbstractItemModel>

using namespace Qt::StringLiterals;

ResultsTable ResultsTable::of(const QAbstractItemModel &model, const QString &title)
{
    ResultsTable table;
    table.title = title;
    for (int column = 0; column < model.columnCount(); ++column)
        table.headers << model.headerData(column, Qt::Horizontal).toString();
    table.rows.reserve(model.rowCount());
    for (int row = 0; row < model.rowCount(); ++row) {
        QVariantList values;
        values.reserve(table.headers.size());
        for (int column = 0; column < model.columnCount(); ++column)
            values << model.index(row, column).data(Qt::EditRole);
        table.rows << values;
    }
    return table;
}

namespace ResultsExport {

namespace {

// A share as a percentage with one decimal.
QVariant percent(double share)
{
    return std::round(share * 1000.0) / 10.0;
}

} // namespace

QList<ResultsTable> statisticsTables(const ResultsStatistics &statistics, const QString &language)
{
    const auto pick = [&language](const QString &russian, const QString &english) {
        return ResultsTexts::pick(language, russian, english);
    };
    QList<ResultsTable> tables;

    ResultsTable attempts{pick(u"Попытки"_s, u"Attempts"_s),
                          {pick(u"Всего"_s, u"In all"_s), pick(u"Без оценок вопросов"_s, u"Without marks"_s)},
                          {{statistics.attempts, statistics.withoutMarks}}};
    tables << attempts;

    ResultsTable verdicts{pick(u"Вердикты"_s, u"Verdicts"_s),
                          {pick(u"Вердикт"_s, u"Verdict"_s), pick(u"Число"_s, u"Count"_s),
                           pick(u"Доля, %"_s, u"Share, %"_s)},
                          {}};
    for (const auto &[verdict, count] : statistics.verdicts)
        verdicts.rows << QVariantList{ResultsTexts::verdict(verdict, language), count,
                                      percent(statistics.attempts ? double(count) / statistics.attempts : 0.0)};
    tables << verdicts;

    const QStringList answerHeaders{pick(u"Задано"_s, u"Asked"_s), pick(u"Верно"_s, u"Right"_s),
                                    pick(u"Неверно"_s, u"Wrong"_s), pick(u"Без ответа"_s, u"Unanswered"_s),
                                    pick(u"Верно, %"_s, u"Right, %"_s)};
    const auto answerRow = [](const QVariant &name, const ResultsStatistics::Answers &answers) {
        return QVariantList{name, answers.asked, answers.right, answers.wrong, answers.unanswered,
                            percent(answers.rightShare())};
    };
    ResultsTable questions{pick(u"Вопросы"_s, u"Questions"_s),
                           QStringList{pick(u"Вопрос"_s, u"Question"_s)} + answerHeaders, {}};
    for (int n = 0; n < TicketResult::Questions; ++n)
        if (statistics.questions[n].asked > 0)
            questions.rows << answerRow(n + 1, statistics.questions[n]);
    tables << questions;

    ResultsTable tickets{pick(u"Билеты"_s, u"Tickets"_s), QStringList{pick(u"Билет"_s, u"Ticket"_s)} + answerHeaders,
                         {}};
    for (const auto &[ticket, answers] : statistics.tickets)
        tickets.rows << answerRow(ticket, answers);
    tables << tickets;

    ResultsTable days{pick(u"По дням"_s, u"By day"_s),
                      {pick(u"Дата"_s, u"Date"_s), pick(u"Попытки"_s, u"Attempts"_s),
                       ExamRecordTexts::verdictCaption(Verdict::Passed, LanguagePolicy(language).captions()), pick(u"Зачет, %"_s, u"Delivered, %"_s)},
                      {}};
    for (const auto &[date, day] : statistics.days)
        days.rows << QVariantList{date, day.attempts, day.passed, percent(day.passRate())};
    tables << days;
    return tables;
}

QChar listSeparator(const QLocale &locale)
{
    return locale.decimalPoint() == u","_s ? u';' : u',';
}

QByteArray csv(const QList<ResultsTable> &tables, const QLocale &locale)
{
    const QChar separator = listSeparator(locale);
    const auto field = [&](const QVariant &value) -> QString {
        QString text;
        switch (value.metaType().id()) {
        case QMetaType::UnknownType:
            return QString();
        case QMetaType::QDate:
            return value.toDate().toString(u"yyyy-MM-dd"_s);
        case QMetaType::QTime:
            return value.toTime().toString(u"HH:mm:ss"_s);
        case QMetaType::Int:
            return QString::number(value.toInt());
        case QMetaType::Double:
            text = locale.toString(value.toDouble(), 'g', 15);
            text.remove(locale.groupSeparator());
            break;
        default:
            text = value.toString();
            // A student's name such as "=1+1" must stay a name in the spreadsheet.
            if (!text.isEmpty() && QStringView(u"=+-@\t\r").contains(text.front()))
                text.prepend(u'\'');
        }
        if (text.contains(separator) || text.contains(u'"') || text.contains(u'\n') || text.contains(u'\r')
            || text.startsWith(u' ') || text.endsWith(u' '))
            text = u'"' + QString(text).replace(u"\""_s, u"\"\""_s) + u'"';
        return text;
    };
    QString text;
    const auto line = [&](const QStringList &fields) { text += fields.join(separator) + u"\r\n"_s; };
    for (const ResultsTable &table : tables) {
        if (tables.size() > 1)
            line({field(table.title)});
        QStringList headers;
        for (const QString &header : table.headers)
            headers << field(header);
        line(headers);
        for (const QVariantList &row : table.rows) {
            QStringList fields;
            for (const QVariant &value : row)
                fields << field(value);
            line(fields);
        }
        if (tables.size() > 1)
            text += u"\r\n"_s;
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

bool writeCsv(const QString &path, const QList<ResultsTable> &tables, FileError *error)
{
    return AnsiText::writeBytes(path, csv(tables), error);
}

} // namespace ResultsExport
