#include "core/reports/results_export.h"

#include "core/files/ansi_text.h"
#include "core/program/language_policy.h"
#include "core/reports/exam_record_texts.h"
#include "core/reports/results_cell.h"
#include "core/reports/results_models.h"
#include "core/reports/results_texts.h"

#include <QAbstractItemModel>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <utility>

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
    explicit CsvWriter(const QLocale &locale)
        : m_separator(char(listSeparator(locale).unicode())),
          m_locale(locale),
          m_plainNumbers(locale.zeroDigit() == u"0"_s && locale.negativeSign() == u"-"_s)
    {
        for (const char c : {m_separator, '"', '\n', '\r'})
            m_quoted[uchar(c)] = true;
        put("\xEF\xBB\xBF", 3);
    }

    // Inline, so a row written column by column chooses no kind for a column whose kind is
    // known; the rare ways (a text in quotes, a date outside the usual years, a number through
    // the locale) stay out of line.
    Q_ALWAYS_INLINE void field(const ResultsCell &cell)
    {
        separate();
        switch (cell.kind()) {
        case ResultsCell::Kind::Empty:
            return;
        case ResultsCell::Kind::Date:
            writeDate(cell.date());
            return;
        case ResultsCell::Kind::Time:
            writeTime(cell.time());
            return;
        case ResultsCell::Kind::Integer:
            writeNumber(qint64(cell.integer()));
            return;
        case ResultsCell::Kind::Number:
            writeNumber(cell.number());
            return;
        case ResultsCell::Kind::Text:
            writeText(cell.text());
            return;
        }
    }

    void field(const QVariant &value)
    {
        QString text;
        field(ResultsCell::of(value, &text));
    }

    void field(const QString &value) { field(ResultsCell::text(value)); }

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
    Q_ALWAYS_INLINE void separate()
    {
        if (!m_first)
            put(m_separator);
        m_first = false;
    }

    // A student's name such as "=1+1" must stay a name in the spreadsheet.
    void writeText(const QString &value)
    {
        const bool formula = !value.isEmpty() && QStringView(u"=+-@\t\r").contains(value.front());
        quoted(value, formula);
    }

    // The text as one field, after an apostrophe if asked: in quotes, with its quotes doubled,
    // when it holds the separator, a quote or a line break, or begins or ends with a blank.
    // The text is looked at and encoded in one pass; the opening quote is put in when the end
    // of the text shows it is needed.
    void quoted(QStringView text, bool apostrophe)
    {
        // Every character takes three bytes at most, a quote two, and a pair of surrogates
        // (four bytes) is two characters.
        char *const start = space(3 * text.size() + 3);
        char *out = start;
        if (apostrophe)
            *out++ = '\'';
        bool quote = !text.isEmpty() && ((!apostrophe && text.front() == u' ') || text.back() == u' ');
        for (const QChar c : text) {
            const char16_t u = c.unicode();
            if (u < 0x80) {
                if (m_quoted[u]) {
                    quote = true;
                    if (u == u'"')
                        *out++ = '"';
                }
                *out++ = char(u);
            } else if (u < 0x800) {
                *out++ = char(0xC0 | (u >> 6));
                *out++ = char(0x80 | (u & 0x3F));
            } else if (!c.isSurrogate()) {
                *out++ = char(0xE0 | (u >> 12));
                *out++ = char(0x80 | ((u >> 6) & 0x3F));
                *out++ = char(0x80 | (u & 0x3F));
            } else {
                quotedThroughQt(apostrophe ? QString(u'\'').append(text) : text.toString());
                return;
            }
        }
        if (quote) {
            std::memmove(start + 1, start, out - start);
            *start = '"';
            out += 1;
            *out++ = '"';
        }
        m_size = out - m_data;
    }

    // A text with surrogates goes through Qt, which also decides what a lone surrogate becomes.
    Q_NEVER_INLINE void quotedThroughQt(const QString &text)
    {
        bool quote = !text.isEmpty() && (text.front() == u' ' || text.back() == u' ');
        for (const QChar c : text) {
            if (c.unicode() < 0x80 && m_quoted[c.unicode()]) {
                quote = true;
                break;
            }
        }
        if (!quote) {
            put(text.toUtf8());
            return;
        }
        put('"');
        for (qsizetype at = 0; at < text.size();) {
            const qsizetype mark = text.indexOf(u'"', at);
            const qsizetype end = mark < 0 ? text.size() : mark + 1;
            put(QStringView(text).sliced(at, end - at).toUtf8());
            if (mark >= 0)
                put('"');
            at = end;
        }
        put('"');
    }

    void digits(char *out, int value, int width)
    {
        for (int i = width - 1; i >= 0; --i) {
            out[i] = char('0' + value % 10);
            value /= 10;
        }
    }

    void writeDate(const QDate &date)
    {
        int year = 0;
        int month = 0;
        int day = 0;
        date.getDate(&year, &month, &day);
        if (year < 1000 || year > 9999) {
            writeUnusualDate(date);
            return;
        }
        char *const out = space(10);
        digits(out, year, 4);
        out[4] = '-';
        digits(out + 5, month, 2);
        out[7] = '-';
        digits(out + 8, day, 2);
        m_size += 10;
    }

    Q_NEVER_INLINE void writeUnusualDate(const QDate &date) { put(date.toString(u"yyyy-MM-dd"_s).toUtf8()); }

    void writeTime(const QTime &time)
    {
        const int seconds = time.msecsSinceStartOfDay() / 1000;
        char *const out = space(8);
        digits(out, seconds / 3600, 2);
        out[2] = ':';
        digits(out + 3, seconds / 60 % 60, 2);
        out[5] = ':';
        digits(out + 6, seconds % 60, 2);
        m_size += 8;
    }

    Q_ALWAYS_INLINE void writeNumber(qint64 value)
    {
        if (value >= 0 && value < 10) {
            put(char('0' + value));
            return;
        }
        char *const out = space(24);
        m_size = std::to_chars(out, out + 24, value).ptr - m_data;
    }

    // Whole numbers, which points mostly are, need none of the locale's formatting where the
    // locale writes plain digits; any other number is written as the locale writes it.
    void writeNumber(double value)
    {
        if (m_plainNumbers && std::trunc(value) == value && std::abs(value) < 1e15
            && !(value == 0 && std::signbit(value))) {
            writeNumber(qint64(value));
            return;
        }
        writeLocaleNumber(value);
    }

    Q_NEVER_INLINE void writeLocaleNumber(double value)
    {
        QString number = m_locale.toString(value, 'g', 15);
        number.remove(m_locale.groupSeparator());
        quoted(number, false);
    }

    // Room for `bytes` more bytes at the end of what is written.
    Q_ALWAYS_INLINE char *space(qsizetype bytes)
    {
        if (m_size + bytes > m_bytes.size())
            grow(bytes);
        return m_data + m_size;
    }

    Q_NEVER_INLINE void grow(qsizetype bytes)
    {
        m_bytes.resize(std::max(2 * m_bytes.size(), m_size + bytes + (1 << 16)));
        m_data = m_bytes.data();
    }

    Q_ALWAYS_INLINE void put(char c)
    {
        *space(1) = c;
        ++m_size;
    }

    void put(const char *bytes, qsizetype size)
    {
        std::memcpy(space(size), bytes, size);
        m_size += size;
    }

    void put(const QByteArray &bytes) { put(bytes.constData(), bytes.size()); }

    QByteArray m_bytes;
    char *m_data = nullptr;
    qsizetype m_size = 0;
    const char m_separator;
    const QLocale &m_locale;
    // Whether the locale writes numbers with the digits 0 to 9 and a hyphen for the minus.
    const bool m_plainNumbers;
    // The characters that put a text in quotes.
    std::array<bool, 128> m_quoted{};
    bool m_first = true;
};

// The runs shown, each cell read by the model's own cell().
void writeRuns(CsvWriter &writer, const QList<QuestionnaireRunResult> &runs, const std::vector<int> &rows,
               int columns)
{
    for (const int row : rows) {
        const QuestionnaireRunResult &run = runs[row];
        for (int column = 0; column < columns; ++column)
            writer.field(QuestionnaireRunsModel::cell(run, column));
        writer.endLine();
    }
}

// The tickets shown, each cell read by the model's own cell(). The columns are spelled out one
// by one, so each column's cell is made and written without choosing its column or its kind.
template <int... Columns>
void writeTickets(CsvWriter &writer, const QList<TicketResult> &results, const std::vector<int> &rows,
                  std::integer_sequence<int, Columns...>)
{
    for (const int row : rows) {
        const TicketResult &result = results[row];
        (writer.field(TicketResultsModel::cell(result, Columns)), ...);
        writer.endLine();
    }
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
    CsvWriter writer(locale);
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

QByteArray csv(const ResultsFilterModel &shown, const QLocale &locale)
{
    const auto *tickets = qobject_cast<const TicketResultsModel *>(shown.sourceModel());
    const auto *runs = qobject_cast<const QuestionnaireRunsModel *>(shown.sourceModel());
    if (!tickets && !runs)
        return csv({ResultsTable::of(shown)}, locale);
    CsvWriter writer(locale);
    const int columns = shown.columnCount();
    for (int column = 0; column < columns; ++column)
        writer.field(shown.headerData(column, Qt::Horizontal).toString());
    writer.endLine();
    if (tickets)
        writeTickets(writer, tickets->results(), shown.shownRows(), std::make_integer_sequence<int, TicketResultsModel::Columns>());
    else
        writeRuns(writer, runs->runs(), shown.shownRows(), columns);
    return writer.take();
}

bool writeCsv(const QString &path, const QList<ResultsTable> &tables, FileError *error)
{
    return AnsiText::writeBytes(path, csv(tables), error);
}

bool writeCsv(const QString &path, const ResultsFilterModel &shown, FileError *error)
{
    return AnsiText::writeBytes(path, csv(shown), error);
}

} // namespace ResultsExport
