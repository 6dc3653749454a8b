#include "core/reports/results_export.h"

#include "core/files/ansi_text.h"
#include "core/program/language_policy.h"
#include "core/reports/exam_record_texts.h"
#include "core/reports/results_texts.h"

#include <QAbstractItemModel>

#include <algorithm>
#include <charconv>
#include <cstring>

using namespace Qt::StringLiterals;

ResultsTable ResultsTable::of(const QAbstractItemModel &model, const QString &title)
{
    ResultsTable table;
    table.title = title;
    const int columns = model.columnCount();
    const int rows = model.rowCount();
    for (int column = 0; column < columns; ++column)
        table.headers << model.headerData(column, Qt::Horizontal).toString();
    table.rows.reserve(rows);
    for (int row = 0; row < rows; ++row) {
        QVariantList &values = table.rows.emplace_back();
        values.reserve(columns);
        for (int column = 0; column < columns; ++column)
            values.emplace_back(model.data(model.index(row, column), Qt::EditRole));
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

// Writes the CSV straight into one UTF-8 buffer: a table of many thousand rows is written at
// about the speed of copying its bytes.
class CsvWriter
{
public:
    CsvWriter(QChar separator, const QLocale &locale) : m_separator(separator), m_locale(locale)
    {
        put("\xEF\xBB\xBF", 3);
    }

    void field(const QVariant &value)
    {
        separate();
        switch (value.metaType().id()) {
        case QMetaType::UnknownType:
            return;
        case QMetaType::QDate:
            writeDate(value.toDate());
            return;
        case QMetaType::QTime:
            writeTime(value.toTime());
            return;
        case QMetaType::Int:
            writeNumber(value.toInt());
            return;
        case QMetaType::Double: {
            QString number = m_locale.toString(value.toDouble(), 'g', 15);
            number.remove(m_locale.groupSeparator());
            quoted(number);
            return;
        }
        case QMetaType::QString:
            writeText(*static_cast<const QString *>(value.constData()));
            return;
        default:
            writeText(value.toString());
        }
    }

    void field(const QString &value)
    {
        separate();
        writeText(value);
    }

    void endLine()
    {
        put("\r\n", 2);
        m_first = true;
    }

    QByteArray take()
    {
        m_bytes.truncate(m_size);
        return std::move(m_bytes);
    }

private:
    void separate()
    {
        if (!m_first)
            utf8(QStringView(&m_separator, 1));
        m_first = false;
    }

    // A student's name such as "=1+1" must stay a name in the spreadsheet.
    void writeText(const QString &value)
    {
        if (!value.isEmpty() && QStringView(u"=+-@\t\r").contains(value.front())) {
            quoted(QString(u'\'' + value));
            return;
        }
        quoted(value);
    }

    void quoted(QStringView text)
    {
        bool quote = !text.isEmpty() && (text.front() == u' ' || text.back() == u' ');
        for (const QChar c : text) {
            if (c == m_separator || c == u'"' || c == u'\n' || c == u'\r') {
                quote = true;
                break;
            }
        }
        if (!quote) {
            utf8(text);
            return;
        }
        put('"');
        for (qsizetype at = 0; at < text.size();) {
            const qsizetype mark = text.indexOf(u'"', at);
            const qsizetype end = mark < 0 ? text.size() : mark + 1;
            utf8(text.sliced(at, end - at));
            if (mark >= 0)
                put('"');
            at = end;
        }
        put('"');
    }

    // UTF-8 by hand for the common characters; a text with surrogates goes through Qt, which
    // also decides what a lone surrogate becomes.
    void utf8(QStringView text)
    {
        for (const QChar c : text) {
            if (c.isSurrogate()) {
                const QByteArray bytes = text.toUtf8();
                put(bytes.constData(), bytes.size());
                return;
            }
        }
        char *out = space(3 * text.size());
        for (const QChar c : text) {
            const char16_t u = c.unicode();
            if (u < 0x80) {
                *out++ = char(u);
            } else if (u < 0x800) {
                *out++ = char(0xC0 | (u >> 6));
                *out++ = char(0x80 | (u & 0x3F));
            } else {
                *out++ = char(0xE0 | (u >> 12));
                *out++ = char(0x80 | ((u >> 6) & 0x3F));
                *out++ = char(0x80 | (u & 0x3F));
            }
        }
        m_size = out - m_bytes.data();
    }

    void digits(int value, int width)
    {
        char text[4];
        for (int i = width - 1; i >= 0; --i) {
            text[i] = char('0' + value % 10);
            value /= 10;
        }
        put(text, width);
    }

    void writeDate(const QDate &date)
    {
        if (!date.isValid() || date.year() < 1000 || date.year() > 9999) {
            utf8(date.toString(u"yyyy-MM-dd"_s));
            return;
        }
        digits(date.year(), 4);
        put('-');
        digits(date.month(), 2);
        put('-');
        digits(date.day(), 2);
    }

    void writeTime(const QTime &time)
    {
        if (!time.isValid())
            return;
        digits(time.hour(), 2);
        put(':');
        digits(time.minute(), 2);
        put(':');
        digits(time.second(), 2);
    }

    void writeNumber(int value)
    {
        char text[16];
        const char *const end = std::to_chars(text, text + sizeof text, value).ptr;
        put(text, end - text);
    }

    // Room for `bytes` more bytes at the end of what is written.
    char *space(qsizetype bytes)
    {
        if (m_size + bytes > m_bytes.size())
            m_bytes.resize(std::max(2 * m_bytes.size(), m_size + bytes + (1 << 16)));
        return m_bytes.data() + m_size;
    }

    void put(char c)
    {
        *space(1) = c;
        ++m_size;
    }

    void put(const char *bytes, qsizetype size)
    {
        std::memcpy(space(size), bytes, size);
        m_size += size;
    }

    QByteArray m_bytes;
    qsizetype m_size = 0;
    const QChar m_separator;
    const QLocale &m_locale;
    bool m_first = true;
};

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
    CsvWriter writer(listSeparator(locale), locale);
    for (const ResultsTable &table : tables) {
        if (tables.size() > 1) {
            writer.field(table.title);
            writer.endLine();
        }
        for (const QString &header : table.headers)
            writer.field(header);
        writer.endLine();
        for (const QVariantList &row : table.rows) {
            for (const QVariant &value : row)
                writer.field(value);
            writer.endLine();
        }
        if (tables.size() > 1)
            writer.endLine();
    }
    return writer.take();
}

bool writeCsv(const QString &path, const QList<ResultsTable> &tables, FileError *error)
{
    return AnsiText::writeBytes(path, csv(tables), error);
}

} // namespace ResultsExport
