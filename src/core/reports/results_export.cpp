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
#include <limits>
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
// about the speed of copying its bytes. A line begins with room for all its cells of a bounded
// size (dates, times, whole numbers); only a text, whose size has no bound, makes sure of room
// for itself and the rest of the line. So most cells cost no check of the room at all.
class CsvWriter
{
public:
    // Without a writer of pieces the lines are kept for take(); with one, they are handed to it
    // a piece at a time and the buffer is used again, so a large table is never held whole.
    explicit CsvWriter(const QLocale &locale, const AnsiText::PieceWriter *pieces = nullptr)
        : m_pieces(pieces),
          m_pieceAt(pieces ? PieceBytes : std::numeric_limits<qsizetype>::max()),
          m_separator(char(listSeparator(locale).unicode())),
          m_locale(locale),
          m_plainNumbers(locale.zeroDigit() == u"0"_s && locale.negativeSign() == u"-"_s)
    {
        for (const char c : {m_separator, '"', '\n', '\r'})
            m_quoted[uchar(c)] = true;
        std::memcpy(grow(m_data, 3), "\xEF\xBB\xBF", 3);
        m_size = 3;
    }

    // A line of any number of cells.
    void line(const QList<ResultsCell> &cells)
    {
        const qsizetype lineRoom = roomOfLine(cells.size());
        char *out = room(m_data + m_size, lineRoom);
        for (qsizetype at = 0; at < cells.size(); ++at)
            out = write(at == 0 ? out : separate(out), cells[at], lineRoom);
        endLine(out);
    }

    // A line of the cells a function gives for the columns. Inline, so a column whose kind is
    // known chooses no kind; the rare ways (a text with surrogates, a date outside the usual
    // years, a number through the locale) stay out of line.
    template <class CellOf, std::size_t... Columns>
    Q_ALWAYS_INLINE void line(const CellOf &cellOf, std::index_sequence<Columns...>)
    {
        constexpr qsizetype lineRoom = roomOfLine(sizeof...(Columns));
        char *out = room(m_data + m_size, lineRoom);
        ((out = write(Columns == 0 ? out : separate(out), cellOf(int(Columns)), lineRoom)), ...);
        endLine(out);
    }

    // Makes room at once for as many more lines as the lines so far take on average, with some
    // to spare, so a large table's buffer grows once instead of being copied at every doubling.
    void expectLines(qsizetype lines)
    {
        if (m_pieces)
            return;
        const qsizetype bytes = m_size / std::max<qsizetype>(m_lines, 1) * lines;
        room(m_data + m_size, bytes + bytes / 8);
    }

    QByteArray take()
    {
        m_bytes.truncate(m_size);
        return std::move(m_bytes);
    }

    // Hands over the last piece; whether every piece was written.
    bool finish()
    {
        handOver();
        return m_written;
    }

private:
    // The most bytes a cell of a bounded size takes: a date of an unusual year as Qt writes it
    // (its year's digits and sign, the month and the day), a time, a whole number.
    static constexpr qsizetype BoundedRoom = 32;

    // The room of a line of cells of a bounded size, with their separators and the line end.
    static constexpr qsizetype roomOfLine(qsizetype cells) { return cells * (BoundedRoom + 1) + 2; }

    Q_ALWAYS_INLINE char *separate(char *out) const
    {
        *out = m_separator;
        return out + 1;
    }

    Q_ALWAYS_INLINE void endLine(char *out)
    {
        out[0] = '\r';
        out[1] = '\n';
        m_size = out + 2 - m_data;
        ++m_lines;
        if (m_size >= m_pieceAt)
            handOver();
    }

    // The lines so far go to the writer of pieces, and the buffer starts again. After a
    // failed piece the rest is made and dropped: the file is not kept anyway.
    Q_NEVER_INLINE void handOver()
    {
        if (m_pieces && m_written && m_size > 0)
            m_written = (*m_pieces)(QByteArrayView(m_data, m_size));
        m_size = 0;
    }

    // Writes the cell at `out`, where room for a line of cells of a bounded size is made.
    Q_ALWAYS_INLINE char *write(char *out, const ResultsCell &cell, qsizetype lineRoom)
    {
        switch (cell.kind()) {
        case ResultsCell::Kind::Empty: return out;
        case ResultsCell::Kind::Date: return writeDate(out, cell.date());
        case ResultsCell::Kind::Time: return writeTime(out, cell.time());
        case ResultsCell::Kind::Integer: return writeInteger(out, cell.integer());
        case ResultsCell::Kind::Number:
            return plainNumber(cell.number()) ? writeInteger(out, qint64(cell.number()))
                                              : writeLocaleNumber(out, cell.number(), lineRoom);
        // Every character takes three bytes at most, a quote two, and a pair of surrogates
        // (four bytes) is two characters; an apostrophe and the quotes may come around it.
        case ResultsCell::Kind::Text:
            return writeText(room(out, 3 * cell.text().size() + 3 + lineRoom), cell.text());
        }
        return out;
    }

    // A student's name such as "=1+1" must stay a name in the spreadsheet.
    char *writeText(char *out, const QString &value) const
    {
        const bool formula = !value.isEmpty() && QStringView(u"=+-@\t\r").contains(value.front());
        return quoted(out, value, formula);
    }

    // The text as one field, after an apostrophe if asked: in quotes, with its quotes doubled,
    // when it holds the separator, a quote or a line break, or begins or ends with a blank.
    // The text is looked at and encoded in one pass; the opening quote is put in when the end
    // of the text shows it is needed.
    char *quoted(char *const start, QStringView text, bool apostrophe) const
    {
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
                return quotedThroughQt(start, apostrophe ? QString(u'\'').append(text) : text.toString());
            }
        }
        if (!quote)
            return out;
        std::memmove(start + 1, start, out - start);
        *start = '"';
        out += 1;
        *out++ = '"';
        return out;
    }

    // A text with surrogates goes through Qt, which also decides what a lone surrogate becomes.
    Q_NEVER_INLINE char *quotedThroughQt(char *out, const QString &text) const
    {
        bool quote = !text.isEmpty() && (text.front() == u' ' || text.back() == u' ');
        for (const QChar c : text) {
            if (c.unicode() < 0x80 && m_quoted[c.unicode()]) {
                quote = true;
                break;
            }
        }
        if (!quote)
            return copy(out, text.toUtf8());
        *out++ = '"';
        for (qsizetype at = 0; at < text.size();) {
            const qsizetype mark = text.indexOf(u'"', at);
            const qsizetype end = mark < 0 ? text.size() : mark + 1;
            out = copy(out, QStringView(text).sliced(at, end - at).toUtf8());
            if (mark >= 0)
                *out++ = '"';
            at = end;
        }
        *out++ = '"';
        return out;
    }

    static char *copy(char *out, const QByteArray &bytes)
    {
        std::memcpy(out, bytes.constData(), bytes.size());
        return out + bytes.size();
    }

    static void digits(char *out, int value, int width)
    {
        for (int i = width - 1; i >= 0; --i) {
            out[i] = char('0' + value % 10);
            value /= 10;
        }
    }

    static char *writeDate(char *out, const QDate &date)
    {
        int year = 0;
        int month = 0;
        int day = 0;
        date.getDate(&year, &month, &day);
        if (year < 1000 || year > 9999)
            return writeUnusualDate(out, date);
        digits(out, year, 4);
        out[4] = '-';
        digits(out + 5, month, 2);
        out[7] = '-';
        digits(out + 8, day, 2);
        return out + 10;
    }

    Q_NEVER_INLINE static char *writeUnusualDate(char *out, const QDate &date)
    {
        const QByteArray text = date.toString(u"yyyy-MM-dd"_s).toUtf8();
        return copy(out, text.left(BoundedRoom));
    }

    static char *writeTime(char *out, const QTime &time)
    {
        const int seconds = time.msecsSinceStartOfDay() / 1000;
        digits(out, seconds / 3600, 2);
        out[2] = ':';
        digits(out + 3, seconds / 60 % 60, 2);
        out[5] = ':';
        digits(out + 6, seconds % 60, 2);
        return out + 8;
    }

    Q_ALWAYS_INLINE static char *writeInteger(char *out, qint64 value)
    {
        if (value >= 0 && value < 10) {
            *out = char('0' + value);
            return out + 1;
        }
        return std::to_chars(out, out + 20, value).ptr;
    }

    // Whole numbers, which points mostly are, need none of the locale's formatting where the
    // locale writes plain digits; any other number is written as the locale writes it.
    bool plainNumber(double value) const
    {
        return m_plainNumbers && std::trunc(value) == value && std::abs(value) < 1e15
               && !(value == 0 && std::signbit(value));
    }

    QString localeNumber(double value) const
    {
        QString number = m_locale.toString(value, 'g', 15);
        number.remove(m_locale.groupSeparator());
        return number;
    }

    Q_NEVER_INLINE char *writeLocaleNumber(char *out, double value, qsizetype lineRoom)
    {
        const QString number = localeNumber(value);
        return quoted(room(out, 3 * number.size() + 3 + lineRoom), number, false);
    }

    // Room for `bytes` more bytes from `out` on, which may move what is written.
    Q_ALWAYS_INLINE char *room(char *out, qsizetype bytes)
    {
        if (m_end - out < bytes)
            return grow(out, bytes);
        return out;
    }

    Q_NEVER_INLINE char *grow(char *out, qsizetype bytes)
    {
        const qsizetype written = out - m_data;
        m_bytes.resize(std::max(2 * m_bytes.size(), written + bytes + (1 << 16)));
        m_data = m_bytes.data();
        m_end = m_data + m_bytes.size();
        return m_data + written;
    }

    // The bytes of a piece: large enough that a write costs little per byte, small enough to
    // stay in the processor's cache until it is written.
    static constexpr qsizetype PieceBytes = 256 * 1024;

    const AnsiText::PieceWriter *m_pieces;
    const qsizetype m_pieceAt;
    bool m_written = true;
    QByteArray m_bytes;
    char *m_data = nullptr;
    char *m_end = nullptr;
    // The bytes and the number of the lines written whole.
    qsizetype m_size = 0;
    qsizetype m_lines = 0;
    const char m_separator;
    const QLocale &m_locale;
    // Whether the locale writes numbers with the digits 0 to 9 and a hyphen for the minus.
    const bool m_plainNumbers;
    // The characters that put a text in quotes.
    std::array<bool, 128> m_quoted{};
};

// The lines written before the room for the rest of a table is made at once.
constexpr qsizetype SampleLines = 256;

// The runs shown, each cell read by the model's own cell().
void writeRuns(CsvWriter &writer, const QList<QuestionnaireRunResult> &runs, const std::vector<int> &rows,
               int columns)
{
    QList<ResultsCell> cells(columns);
    for (size_t at = 0; at < rows.size(); ++at) {
        if (at == SampleLines)
            writer.expectLines(qsizetype(rows.size() - at));
        const QuestionnaireRunResult &run = runs[rows[at]];
        for (int column = 0; column < columns; ++column)
            cells[column] = QuestionnaireRunsModel::cell(run, column);
        writer.line(cells);
    }
}

// The tickets shown, each cell read by the model's own cell(). The columns are spelled out one
// by one, so each column's cell is made and written without choosing its column or its kind.
template <std::size_t... Columns>
void writeTickets(CsvWriter &writer, const QList<TicketResult> &results, const std::vector<int> &rows,
                  std::index_sequence<Columns...> columns)
{
    for (size_t at = 0; at < rows.size(); ++at) {
        if (at == SampleLines)
            writer.expectLines(qsizetype(rows.size() - at));
        const TicketResult &result = results[rows[at]];
        writer.line([&result](int column) { return TicketResultsModel::cell(result, column); }, columns);
    }
}

// The cells of a line of texts.
QList<ResultsCell> textCells(const QStringList &texts)
{
    QList<ResultsCell> cells;
    cells.reserve(texts.size());
    for (const QString &text : texts)
        cells << ResultsCell::text(text);
    return cells;
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
    QList<ResultsCell> cells;
    QList<QString> texts;
    for (const ResultsTable &table : tables) {
        if (tables.size() > 1)
            writer.line({ResultsCell::text(table.title)});
        writer.line(textCells(table.headers));
        for (const QVariantList &row : table.rows) {
            // A value that is no date, time, number or text is written as its text, kept here
            // while its cell refers to it.
            cells.resize(row.size());
            texts.resize(row.size());
            for (qsizetype column = 0; column < row.size(); ++column)
                cells[column] = ResultsCell::of(row[column], &texts[column]);
            writer.line(cells);
        }
        if (tables.size() > 1)
            writer.line({});
    }
    return writer.take();
}

namespace {

// Whether the table shows tickets or runs, which are written straight from the results.
bool isResultsTable(const ResultsFilterModel &shown)
{
    return qobject_cast<const TicketResultsModel *>(shown.sourceModel())
           || qobject_cast<const QuestionnaireRunsModel *>(shown.sourceModel());
}

// The header and the rows shown of a table of tickets or of runs.
void writeShown(CsvWriter &writer, const ResultsFilterModel &shown)
{
    const auto *tickets = qobject_cast<const TicketResultsModel *>(shown.sourceModel());
    const auto *runs = qobject_cast<const QuestionnaireRunsModel *>(shown.sourceModel());
    const int columns = shown.columnCount();
    QStringList headers;
    for (int column = 0; column < columns; ++column)
        headers << shown.headerData(column, Qt::Horizontal).toString();
    writer.line(textCells(headers));
    if (tickets)
        writeTickets(writer, tickets->results(), shown.shownRows(),
                     std::make_index_sequence<TicketResultsModel::Columns>());
    else
        writeRuns(writer, runs->runs(), shown.shownRows(), columns);
}

} // namespace

QByteArray csv(const ResultsFilterModel &shown, const QLocale &locale)
{
    if (!isResultsTable(shown))
        return csv({ResultsTable::of(shown)}, locale);
    CsvWriter writer(locale);
    writeShown(writer, shown);
    return writer.take();
}

bool writeCsv(const QString &path, const QList<ResultsTable> &tables, FileError *error)
{
    return AnsiText::writeBytes(path, csv(tables), error);
}

bool writeCsv(const QString &path, const ResultsFilterModel &shown, FileError *error)
{
    if (!isResultsTable(shown))
        return AnsiText::writeBytes(path, csv(shown), error);
    // Written as it is made, a piece at a time.
    const QLocale locale;
    return AnsiText::writePieces(
        path,
        [&](const AnsiText::PieceWriter &write) {
            CsvWriter writer(locale, &write);
            writeShown(writer, shown);
            return writer.finish();
        },
        error);
}

} // namespace ResultsExport
