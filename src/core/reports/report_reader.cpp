#include "core/reports/report_reader.h"

#include "core/exam/grade.h"
#include "core/files/ansi_text.h"
#include "core/program/program_paths.h"
#include "core/questionnaire/questionnaire_report.h"
#include "core/reports/attempts_journal.h"
#include "core/reports/exam_record_texts.h"
#include "core/reports/numeric_date_format.h"
#include "core/reports/results_merge.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cstring>
#include <thread>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

using namespace Qt::StringLiterals;

namespace ReportReader {

namespace {

struct Line
{
    QStringView text;
    int number;
    // Offset of the line in the text, for the progress.
    qsizetype offset;
    // Where the nineteen "; " of an exam report's marks line stand, from the line's first
    // byte, found where the line was cut; null for any other line. A marks line is read in
    // its bytes and not decoded: its text is empty, and textOf() gives it when it is wanted.
    const int *separatorPlaces = nullptr;
    // The line's bytes in an exam report, one per character of its text, and their number.
    const char *bytes = nullptr;
    qsizetype byteCount = 0;

    bool isMarksLine() const { return separatorPlaces != nullptr; }
};

// The text of a line, a marks line decoded from its bytes.
QString textOf(const Line &line)
{
    return line.isMarksLine() ? AnsiText::decode(QByteArrayView(line.bytes, line.byteCount)) : line.text.toString();
}

// Whether a line holds nothing but blanks; a marks line never does.
bool isBlank(const Line &line)
{
    return !line.isMarksLine() && line.text.trimmed().isEmpty();
}

// The records read before the size of the whole is guessed from them.
constexpr qsizetype RecordsForEstimate = 64;
// How often the reading looks at its progress callback.
constexpr int LinesPerProgress = 16384;
constexpr qsizetype BytesPerChunk = 4 * 1024 * 1024;
// The longest text of a problem kept for showing.
constexpr qsizetype ProblemTextLength = 1000;

const QString Rule = u"=================="_s;

// The reading in two halves of the same length: decoding the bytes, then reading the lines.
class Steps
{
public:
    Steps(const Progress &progress, qint64 bytes) : m_progress(progress), m_total(2 * bytes) {}
    bool decoded(qint64 bytes) const { return report(bytes); }
    bool read(qint64 characters) const { return report(m_total / 2 + characters); }

private:
    bool report(qint64 done) const { return !m_progress || m_progress(done, m_total); }

    const Progress &m_progress;
    qint64 m_total;
};

// Windows-1251 in chunks, so that a large report can be cancelled while it is decoded.
std::optional<QString> decode(const QByteArray &bytes, const Steps &steps)
{
    // One byte is one character, so each chunk decodes on its own.
    QString text;
    text.reserve(bytes.size());
    for (qsizetype at = 0; at < bytes.size(); at += BytesPerChunk) {
        text += AnsiText::decode(QByteArrayView(bytes).sliced(at, std::min(BytesPerChunk, bytes.size() - at)));
        if (!steps.decoded(std::min<qint64>(at + BytesPerChunk, bytes.size())))
            return std::nullopt;
    }
    return text;
}

// CR CR LF (the reports' own end), CR LF, a lone CR and a lone LF each end one line; a final
// line end adds no empty line.
std::vector<Line> splitLines(const QString &text)
{
    std::vector<Line> lines;
    const QChar *const data = text.constData();
    const qsizetype size = text.size();
    qsizetype start = 0;
    int number = 1;
    for (qsizetype at = 0; at < size; ++at) {
        const char16_t c = data[at].unicode();
        if (c != u'\r' && c != u'\n')
            continue;
        lines.push_back({QStringView(data + start, at - start), number++, start});
        if (c == u'\r') {
            if (at + 2 < size && data[at + 1] == u'\r' && data[at + 2] == u'\n')
                at += 2;
            else if (at + 1 < size && data[at + 1] == u'\n')
                at += 1;
        }
        start = at + 1;
    }
    if (start < size)
        lines.push_back({QStringView(data + start, size - start), number, start});
    return lines;
}

// The lines of a report's bytes by the same rule as splitLines.
struct ByteLine
{
    qsizetype start = 0;
    qsizetype size = 0;
    int number = 0;
};

// The "; " in a line's bytes (both are the same byte in Windows-1251 as in ASCII), as far as
// it matters: whether the line has the nineteen of a marks line, and where they stand. Most
// lines of a report have none; a marks line has them every twenty bytes or so, too close for
// a call per separator, so the pairs are found sixteen bytes at a time where the processor can.
using SeparatorPlaces = std::array<int, TicketResult::Questions - 1>;

qsizetype itemSeparators(QByteArrayView line, SeparatorPlaces &places)
{
    // Too short for the nineteen of a marks line, the count does not matter.
    if (line.size() < 2 * (TicketResult::Questions - 1))
        return 0;
    qsizetype count = 0;
    const auto found = [&](qsizetype at) {
        if (count < qsizetype(places.size()))
            places[size_t(count)] = int(at);
        ++count;
    };
    const char *const data = line.data();
    // A pair begins before the last byte.
    const qsizetype pairs = line.size() - 1;
    qsizetype at = 0;
#ifdef __SSE2__
    const __m128i semicolon = _mm_set1_epi8(';');
    const __m128i blank = _mm_set1_epi8(' ');
    for (; at + 16 <= pairs; at += 16) {
        const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + at));
        const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + at + 1));
        auto mask = quint32(_mm_movemask_epi8(
            _mm_and_si128(_mm_cmpeq_epi8(first, semicolon), _mm_cmpeq_epi8(second, blank))));
        for (; mask; mask &= mask - 1)
            found(at + std::countr_zero(mask));
    }
#endif
    for (; at < pairs; ++at)
        if (data[at] == ';' && data[at + 1] == ' ')
            found(at);
    return count;
}

// The first CR or LF from `from` on, or `end`: sixteen bytes at a time where the processor
// can, as one pass over the line.
const char *lineEnd(const char *from, const char *end)
{
#ifdef __SSE2__
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; end - from >= 16; from += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(from));
        const auto mask =
            quint32(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(chunk, cr), _mm_cmpeq_epi8(chunk, lf))));
        if (mask)
            return from + std::countr_zero(mask);
    }
#endif
    for (; from < end; ++from)
        if (*from == '\r' || *from == '\n')
            return from;
    return end;
}

class ByteLines
{
public:
    explicit ByteLines(QByteArrayView bytes) : m_data(bytes.data()), m_size(bytes.size()) {}

    bool next(ByteLine &line)
    {
        if (m_at >= m_size)
            return false;
        const char *const end = m_data + m_size;
        const char *c = lineEnd(m_data + m_at, end);
        line = {m_at, c - (m_data + m_at), m_number++};
        qsizetype at = c - m_data;
        if (c < end) {
            if (*c == '\r') {
                if (at + 2 < m_size && c[1] == '\r' && c[2] == '\n')
                    at += 2;
                else if (at + 1 < m_size && c[1] == '\n')
                    at += 1;
            }
            ++at;
        }
        m_at = at;
        return true;
    }

    // The first byte after the line given last.
    qsizetype position() const { return m_at; }
    // The lines given so far.
    int count() const { return m_number - 1; }

private:
    const char *m_data;
    qsizetype m_size;
    qsizetype m_at = 0;
    int m_number = 1;
};

ReportProblem problem(ReportProblem::Kind kind, const Line *first, const Line *last)
{
    ReportProblem found{kind, first->number, last->number, QString()};
    for (const Line *line = first; line <= last && found.text.size() < ProblemTextLength; ++line) {
        if (line != first)
            found.text += u'\n';
        found.text += textOf(*line);
    }
    if (found.text.size() > ProblemTextLength)
        found.text = found.text.left(ProblemTextLength) + u'…';
    return found;
}

// The date and time formats tried, the last one that worked first: a report is mostly
// written by one workstation. The reports hold the short forms of the writing machine's
// locale, which may be any, so the forms of this machine's locale come first, then those of
// the locales the program is mostly used under, then common numeric forms.
class DateReader
{
public:
    explicit DateReader(const QLocale &current) : m_locale(current.name())
    {
        const QLocale locales[] = {current,
                                   QLocale::c(),
                                   QLocale(QLocale::Russian, QLocale::Russia),
                                   QLocale(QLocale::English, QLocale::UnitedStates),
                                   QLocale(QLocale::English, QLocale::UnitedKingdom),
                                   QLocale(QLocale::German, QLocale::Germany)};
        for (const QLocale &locale : locales) {
            add(m_dates, locale, locale.dateFormat(QLocale::ShortFormat));
            add(m_times, locale, locale.timeFormat(QLocale::LongFormat));
            add(m_times, locale, locale.timeFormat(QLocale::ShortFormat));
        }
        for (const QString &format : {u"dd.MM.yyyy"_s, u"d.M.yyyy"_s, u"dd.MM.yy"_s, u"d.M.yy"_s, u"M/d/yyyy"_s,
                                      u"M/d/yy"_s, u"dd/MM/yyyy"_s, u"dd/MM/yy"_s, u"yyyy-MM-dd"_s,
                                      u"d MMM yyyy"_s, u"dd-MM-yyyy"_s, u"yyyy/MM/dd"_s})
            add(m_dates, QLocale::c(), format);
        for (const QString &format : {u"H:mm:ss"_s, u"h:mm:ss AP"_s, u"H:mm"_s, u"h:mm AP"_s, u"H.mm.ss"_s,
                                      u"H.mm"_s})
            add(m_times, QLocale::c(), format);
    }

    // The locale whose forms come first.
    const QString &locale() const { return m_locale; }

    QDate date(const QString &text)
    {
        const QString read = text.simplified();
        Known<QDate> &known = remembered(m_knownDates, read);
        for (qsizetype i = 0; i < m_dates.size(); ++i) {
            const Format &format = m_dates[i];
            const QDate date = known.of(format.id, [&] { return dateOf(format, read); });
            if (!date.isValid())
                continue;
            m_dates.move(i, 0);
            return date;
        }
        return QDate();
    }

    QTime time(const QString &text)
    {
        const QString read = text.simplified();
        Known<QTime> &known = remembered(m_knownTimes, read);
        for (qsizetype i = 0; i < m_times.size(); ++i) {
            const Format &format = m_times[i];
            const QTime time = known.of(format.id, [&] { return timeOf(format, read); });
            if (time.isValid()) {
                m_times.move(i, 0);
                return time;
            }
        }
        return QTime();
    }

private:
    struct Format
    {
        QLocale locale;
        QString format;
        // Stays with the form when the order changes.
        int id = 0;
        std::optional<NumericDateFormat> numeric;
    };

    // What each form read from one text, as far as it was tried: a form reads a text alike
    // every time, so a report's many equal dates and times are read once.
    template<typename Value>
    class Known
    {
    public:
        template<typename Read>
        Value of(int id, const Read &read)
        {
            for (const auto &[form, found] : m_read) {
                if (form == id)
                    return found;
            }
            const Value found = read();
            m_read.append({id, found});
            return found;
        }

    private:
        QVarLengthArray<std::pair<int, Value>, 2> m_read;
    };

    // A bound on the texts remembered, so that a report of ever new texts costs no more
    // memory than that.
    static constexpr qsizetype KnownTexts = 100000;

    template<typename Value>
    static Known<Value> &remembered(QHash<QString, Known<Value>> &known, const QString &text)
    {
        if (known.size() >= KnownTexts && !known.contains(text))
            known.clear();
        return known[text];
    }

    // The form must give back the text: "08/12/2026" is no "M/d/yyyy" date, as that form
    // writes no leading zero, but the British one of 8 December.
    static QDate dateOf(const Format &format, const QString &text)
    {
        std::optional<QDate> date;
        if (format.numeric)
            date = format.numeric->date(text);
        if (!date) {
            date = format.locale.toDate(text, format.format);
            if (date->isValid() && format.locale.toString(*date, format.format) != text)
                date = QDate();
        }
        if (date->isValid() && !format.format.contains(u"yyyy"_s))
            date = date->addYears(100);
        return *date;
    }

    static QTime timeOf(const Format &format, const QString &text)
    {
        if (format.numeric) {
            if (const std::optional<QTime> time = format.numeric->time(text))
                return *time;
        }
        return format.locale.toTime(text, format.format);
    }

    // Qt's short formats take the year as two digits where the system writes four, so each
    // is tried with a four-digit year first; a time is read with its blanks made plain ones,
    // as some locales put a narrow blank before AM and PM.
    static void add(QList<Format> &formats, const QLocale &locale, const QString &format)
    {
        QString full = format.simplified();
        if (!full.contains(u"yyyy"_s))
            full.replace(u"yy"_s, u"yyyy"_s);
        for (const QString &candidate : {full, format.simplified()}) {
            const bool known = std::any_of(formats.cbegin(), formats.cend(), [&](const Format &entry) {
                return entry.locale == locale && entry.format == candidate;
            });
            if (!candidate.isEmpty() && !known)
                formats << Format{locale, candidate, int(formats.size()), NumericDateFormat::of(locale, candidate)};
        }
    }

    QString m_locale;
    QList<Format> m_dates;
    QList<Format> m_times;
    QHash<QString, Known<QDate>> m_knownDates;
    QHash<QString, Known<QTime>> m_knownTimes;
};

// The reader of this thread, made anew when the default locale changed.
DateReader &dateReader()
{
    thread_local std::optional<DateReader> reader;
    const QLocale current;
    if (!reader || reader->locale() != current.name())
        reader.emplace(current);
    return *reader;
}

// The questionnaire header's stamp is the time, a blank and the date, each in the writing
// machine's short form; either may hold blanks ("9:28 PM", "8 Dec 2026"). The stamp is
// parted where both halves read; failing that, after a time by its pattern (hours and
// minutes, perhaps seconds, perhaps AM or PM), so that a date is never cut in two.
struct Stamp
{
    QString time;
    QString date;
};

Stamp splitStamp(QStringView line)
{
    const QString stamp = line.toString().simplified();
    for (qsizetype blank = stamp.indexOf(u' '); blank >= 0; blank = stamp.indexOf(u' ', blank + 1)) {
        Stamp parts{stamp.left(blank), stamp.mid(blank + 1)};
        if (dateReader().time(parts.time).isValid() && dateReader().date(parts.date).isValid())
            return parts;
    }
    static const QRegularExpression time(
        u"^(\\d{1,2}[:.]\\d{2}(?:[:.]\\d{2})?(?: ?[AaPp]\\.?[Mm]\\.?)?) (.*)$"_s);
    if (const QRegularExpressionMatch match = time.match(stamp); match.hasMatch())
        return {match.captured(1), match.captured(2)};
    return {QString(), stamp};
}

// The exam report --------------------------------------------------------------------------

// The "; " that part the items of a marks line.
bool allBlank(const Line *from, const Line *to)
{
    for (const Line *line = from; line < to; ++line)
        if (!isBlank(*line))
            return false;
    return true;
}

// The texts that recur from record to record (dates, times, tickets, verdicts, data lines),
// each kept once with what was read from it: a large report then holds one copy of each and
// reads each once. Ever new texts are bounded: past a number of texts the table starts anew.
template<typename Value>
class RecurringTexts
{
public:
    struct Entry
    {
        QString text;
        Value value;
    };

    // The entry of the text, read when it is new. The entry stays as it is until the next
    // call: the caller takes what it needs from it at once.
    template<typename Read>
    const Entry &of(QStringView text, const Read &read)
    {
        // Records that follow each other mostly repeat the text the one before had.
        if (m_last && QStringView(m_last->text) == text)
            return *m_last;
        if (const auto found = m_entries.constFind(text); found != m_entries.cend()) {
            m_last = &*found;
            return *found;
        }
        if (m_entries.size() >= Limit)
            m_entries.clear();
        Entry entry{text.toString(), Value()};
        entry.value = read(entry.text);
        // The key views the kept text, which the entry holds as long as the table does.
        m_last = &*m_entries.insert(QStringView(entry.text), std::move(entry));
        return *m_last;
    }

private:
    static constexpr qsizetype Limit = 1 << 16;
    QHash<QStringView, Entry> m_entries;
    // The entry given last. Entries stay where they are until the next one is added (which
    // may move them all), and that one then becomes the last.
    const Entry *m_last = nullptr;
};

class ExamReader
{
public:
    // A block is the lines up to a closing line of equals signs (or the end of the file).
    void readBlock(const Line *first, const Line *end, bool closed)
    {
        while (first < end && isBlank(*first))
            ++first;
        if (first == end)
            return;
        // A record is found by its marks line, the one line of twenty items.
        std::vector<const Line *> &anchors = m_anchors;
        anchors.clear();
        for (const Line *line = first; line < end; ++line)
            if (line->isMarksLine())
                anchors.push_back(line);
        // The note of a ticket discarded after a crash holds no result and is no damage either.
        if (anchors.empty() && std::any_of(first, end, [](const Line &line) { return ExamRecordTexts::isDiscardNote(line.text); }))
            return;
        const Line *unread = first;
        for (size_t i = 0; i < anchors.size(); ++i) {
            const Line *marks = anchors[i];
            const Line *next = i + 1 < anchors.size() ? anchors[i + 1] - 2 : end;
            unread = readRecord(unread, marks, std::max(next, marks + 1), closed && i + 1 == anchors.size());
        }
        if (!allBlank(unread, end)) {
            const Line *last = end - 1;
            while (isBlank(*last))
                --last;
            // The end of the file cuts a record that has begun; other text is no record.
            bool begun = false;
            for (const Line *line = unread; line <= last && !begun; ++line)
                begun = ExamRecordTexts::isDateLine(line->text) || ExamRecordTexts::isStudentLine(line->text)
                        || ExamRecordTexts::hasTicketCaption(line->text);
            m_contents.problems << problem(!closed && begun ? ReportProblem::CutRecord : ReportProblem::NotARecord,
                                           unread, last);
        }
    }

    ExamReportContents take() { return std::move(m_contents); }
    void reserve(qsizetype records) { m_contents.tickets.reserve(records); }

private:
    // Reads the record whose marks line is given from the lines [from, end), the lines
    // before it that are no part of it becoming a problem. Returns the first line not read.
    const Line *readRecord(const Line *from, const Line *marks, const Line *end, bool closed)
    {
        // Made in its place in the list, not moved there.
        TicketResult &ticket = m_contents.tickets.emplace_back();
        // Above the marks line: the ticket line, the student line and the date line, as far
        // as they are there. Each line is looked at once.
        const Line *first = marks;
        const Line *ticketLine = nullptr;
        const Line *studentLine = nullptr;
        const Line *dateLine = nullptr;
        if (first > from && ExamRecordTexts::isTicketLine(first[-1].text))
            ticketLine = --first;
        if (first > from) {
            bool dated = ExamRecordTexts::isDateLine(first[-1].text);
            if (!dated) {
                studentLine = --first;
                dated = first > from && ExamRecordTexts::isDateLine(first[-1].text);
            }
            if (dated)
                dateLine = --first;
        }
        bool complete = ticketLine && studentLine;
        if (!allBlank(from, first))
            m_contents.problems << problem(ReportProblem::NotARecord, from, first - 1);

        const Line *line = first;
        ticket.line = line->number;
        if (line == dateLine)
            readDateLine(ticket, line++);
        if (studentLine)
            ticket.student = ExamRecordTexts::studentOf(line++->text).toString();
        if (ticketLine) {
            const auto &read = m_tickets.of(ExamRecordTexts::ticketOf(line->text), [](const QString &ticket) {
                return ticket.size() > 1 && ticket.startsWith(u'b') ? QStringView(ticket).mid(1).toInt() : 0;
            });
            ticket.ticket = read.text;
            ticket.ticketNumber = read.value;
        }
        readMarks(ticket, marks);
        line = marks + 1;
        if (line < end) {
            const auto &read = m_verdicts.of(line->text, [](const QString &verdict) {
                return recorded(ExamRecordTexts::readVerdict(verdict));
            });
            ticket.verdict = read.text;
            ticket.verdictKind = read.value;
            ++line;
        } else {
            complete = false;
        }
        if (line < end) {
            if (const std::optional<QStringView> data = ExamRecordTexts::readDataLine(line->text)) {
                ticket.data = m_data.of(*data, [](const QString &) { return true; }).text;
                ++line;
            }
        }
        if (!complete)
            m_contents.problems << problem(ReportProblem::MissingLine, first, line - 1);
        else if (!closed)
            m_contents.problems << problem(ReportProblem::NoClosingLine, first, line - 1);
        return line;
    }

    void readDateLine(TicketResult &ticket, const Line *line)
    {
        const std::optional<ExamRecordTexts::DateLine> read = ExamRecordTexts::readDateLine(line->text);
        ticket.language = read->language;
        const auto &date = m_dateTexts.of(read->date.trimmed(), [this](const QString &text) { return m_dates.date(text); });
        const auto &time = m_timeTexts.of(read->time.trimmed(), [this](const QString &text) { return m_dates.time(text); });
        ticket.dateText = date.text;
        ticket.timeText = time.text;
        ticket.date = date.value;
        ticket.time = time.value;
        if (!ticket.date.isValid() || !ticket.time.isValid())
            m_contents.problems << problem(ReportProblem::UnreadableDate, line, line);
    }

    // The marks line is read in its bytes: its items lie between the "; " found when the line
    // was cut, and their captions are compared byte for byte, which is where a large report
    // spends most of its characters.
    void readMarks(TicketResult &ticket, const Line *line)
    {
        bool unreadable = false;
        const char *const bytes = line->bytes;
        qsizetype start = 0;
        for (int n = 0; n < TicketResult::Questions; ++n) {
            const qsizetype end = n + 1 < TicketResult::Questions ? line->separatorPlaces[n] : line->byteCount;
            ticket.marks[n] = markOf(ticket, n, QByteArrayView(bytes + start, end - start));
            unreadable = unreadable || ticket.marks[n] == TicketResult::Unreadable;
            // The highest question marked, until countQuestions() makes it the ticket's.
            if (ticket.marks[n] != TicketResult::NoMark)
                ticket.questionCount = n + 1;
            start = end + 2;
        }
        if (unreadable)
            m_contents.problems << problem(ReportProblem::UnreadableMark, line, line);
    }

    TicketResult::Mark markOf(TicketResult &ticket, int n, QByteArrayView item)
    {
        if (item.isEmpty())
            return TicketResult::NoMark;
        const std::optional<ExamRecordTexts::EncodedMark> read = ExamRecordTexts::readEvaluationItem(n + 1, item);
        if (!read)
            return TicketResult::Unreadable;
        if (ticket.language.isEmpty())
            ticket.language = read->language;
        // A mark is one byte, compared as such: a call per item would cost more than the item.
        const QByteArrayView mark = read->mark;
        if (mark.size() == 1 && mark.front() == '5')
            return TicketResult::Right;
        if (mark.size() == 1 && mark.front() == '2')
            return TicketResult::Wrong;
        return TicketResult::Unreadable;
    }

    // A verdict line that is no verdict caption is still kept, as another verdict.
    static RecordedVerdict recorded(std::optional<Verdict> verdict)
    {
        if (!verdict)
            return RecordedVerdict::Other;
        switch (*verdict) {
        case Verdict::None:
            return RecordedVerdict::None;
        case Verdict::Passed:
            return RecordedVerdict::Passed;
        case Verdict::Failed:
            return RecordedVerdict::Failed;
        case Verdict::FailedOnTime:
            return RecordedVerdict::FailedOnTime;
        }
        return RecordedVerdict::Other;
    }

    DateReader &m_dates = dateReader();
    // The marks lines of the block read, kept to be used again.
    std::vector<const Line *> m_anchors;
    RecurringTexts<QDate> m_dateTexts;
    RecurringTexts<QTime> m_timeTexts;
    RecurringTexts<int> m_tickets;
    RecurringTexts<RecordedVerdict> m_verdicts;
    RecurringTexts<bool> m_data;
    ExamReportContents m_contents;
};

// The questionnaire report -------------------------------------------------------------------

const QString NameLine = u"ТЕСТ: "_s;
const QString TotalLine = u"Общее количество балов теста: "_s;
const QString LastConclusion = u"ВЫВОД №3: "_s;
const QString PointsSeparator = u" - "_s;

// An answer line ends with " - " and the answer's points.
qsizetype pointsAt(QStringView line)
{
    const qsizetype at = line.lastIndexOf(PointsSeparator);
    if (at < 0)
        return -1;
    const QString points = line.mid(at + PointsSeparator.size()).toString();
    return Grade::readScore(points) ? at : -1;
}

class QuestionnaireReader
{
public:
    explicit QuestionnaireReader(const std::vector<Line> &lines) : m_lines(lines) {}

    bool read(const Steps &steps)
    {
        const Line *const begin = m_lines.data();
        const Line *const end = begin + m_lines.size();
        m_pending = end;
        for (const Line *line = begin; line < end;) {
            if ((line - begin) % LinesPerProgress == 0 && !steps.read(line->offset))
                return false;
            if (isHeader(line, end)) {
                flushPending(line);
                line = readHeader(line);
            } else if (line + 1 < end && line->text == Rule && line[1].text.startsWith(TotalLine)) {
                flushPending(line);
                line = readConclusion(line, end);
            } else if (const qsizetype points = pointsAt(line->text);
                       points >= 0 && (m_pending == end || line->text.startsWith(u' '))) {
                readAnswer(line, points);
                ++line;
            } else {
                if (m_pending == end && !line->text.trimmed().isEmpty())
                    m_pending = line;
                ++line;
            }
        }
        flushPending(end);
        return true;
    }

    QuestionnaireReportContents contents() { return std::move(m_contents); }

private:
    static bool isHeader(const Line *line, const Line *end)
    {
        return end - line >= 3 && line->text == Rule && line[1].text.startsWith(NameLine);
    }

    const Line *readHeader(const Line *line)
    {
        QuestionnaireRunResult run;
        run.line = line->number;
        run.name = line[1].text.mid(NameLine.size()).toString();
        const Stamp stamp = splitStamp(line[2].text);
        run.timeText = stamp.time;
        run.dateText = stamp.date;
        run.date = dateReader().date(run.dateText);
        run.time = dateReader().time(run.timeText);
        m_stampProblem.reset();
        if (!run.date.isValid() || !run.time.isValid())
            m_stampProblem = problem(ReportProblem::UnreadableDate, line + 2, line + 2);
        // The run is shown from its first answer on: a header followed by no answer is
        // written when a questionnaire is made while its report is on, and is no run.
        m_header = run;
        m_open = false;
        // The two closing lines of equals signs.
        line += 3;
        const Line *end = m_lines.data() + m_lines.size();
        for (int rule = 0; rule < 2 && line < end && line->text == Rule; ++rule)
            ++line;
        return line;
    }

    // Answers after the end of a run belong to a new run of the same header: the window
    // lets a student answer on after the conclusion.
    QuestionnaireRunResult *openRun()
    {
        if (!m_header)
            return nullptr;
        if (!m_open) {
            m_contents.runs << *m_header;
            m_open = true;
            if (m_stampProblem) {
                m_contents.problems << *m_stampProblem;
                m_stampProblem.reset();
            }
        }
        return &m_contents.runs.last();
    }

    void readAnswer(const Line *line, qsizetype points)
    {
        const Line *const end = m_lines.data() + m_lines.size();
        const Line *first = m_pending != end ? m_pending : line;
        m_pending = end;
        QuestionnaireRunResult *run = openRun();
        if (!run) {
            m_contents.problems << problem(ReportProblem::NotARecord, first, line);
            return;
        }
        QuestionnaireAnswer answer;
        answer.points = line->text.mid(points + PointsSeparator.size()).toString();
        QStringView chosen = line->text.left(points);
        // The question text ends with its own line break, so the answer line begins with the
        // blank that stands between them.
        if (first != line && chosen.startsWith(u' '))
            chosen = chosen.mid(1);
        answer.answer = chosen.toString();
        QStringList question;
        for (const Line *text = first; text < line; ++text)
            question << text->text.toString();
        while (!question.isEmpty() && question.last().trimmed().isEmpty())
            question.removeLast();
        answer.question = question.join(u'\n');
        run->answers << answer;
    }

    const Line *readConclusion(const Line *line, const Line *end)
    {
        const Line *first = line;
        QuestionnaireRunResult *run = openRun();
        QuestionnaireRunResult discarded;
        if (!run)
            run = &discarded;
        run->total = line[1].text.mid(TotalLine.size()).trimmed().toString();
        line += 2;
        QStringList chosen;
        while (line < end && line->text != Rule && !isHeader(line, end))
            chosen << line++->text.toString();
        while (!chosen.isEmpty() && chosen.last().trimmed().isEmpty())
            chosen.removeLast();
        run->conclusion = chosen.join(u'\n');
        run->finished = true;
        m_open = false;
        // The three conclusions with their bounds follow; the block ends with the line of
        // equals signs after the third.
        bool last = false;
        while (line < end && !isHeader(line, end)) {
            if (line->text.startsWith(LastConclusion))
                last = true;
            else if (last && line->text == Rule)
                break;
            ++line;
        }
        if (run == &discarded)
            m_contents.problems << problem(ReportProblem::NotARecord, first, line < end ? line : end - 1);
        else if (line == end || !last || line->text != Rule)
            m_contents.problems << problem(ReportProblem::CutConclusion, first, line < end ? line : end - 1);
        return line < end && line->text == Rule ? line + 1 : line;
    }

    void flushPending(const Line *until)
    {
        const Line *const end = m_lines.data() + m_lines.size();
        if (m_pending == end)
            return;
        const Line *last = until - 1;
        while (last > m_pending && last->text.trimmed().isEmpty())
            --last;
        m_contents.problems << problem(ReportProblem::NotARecord, m_pending, last);
        m_pending = end;
    }

    const std::vector<Line> &m_lines;
    const Line *m_pending = nullptr;
    std::optional<QuestionnaireRunResult> m_header;
    // The header's unreadable stamp, said once its run is shown.
    std::optional<ReportProblem> m_stampProblem;
    bool m_open = false;
    QuestionnaireReportContents m_contents;
};

std::optional<QByteArray> readFile(const QString &path, QStringList &errors)
{
    QFile file(path);
    if (!file.exists())
        return QByteArray();
    if (!file.open(QIODevice::ReadOnly)) {
        errors << path + u": "_s + file.errorString();
        return std::nullopt;
    }
    return file.readAll();
}

} // namespace

QDate readDate(const QString &text)
{
    return dateReader().date(text);
}

QTime readTime(const QString &text)
{
    return dateReader().time(text);
}

namespace {

// A part of an exam report read on its own: its records and problems, its lines numbered from
// the part's first, and the number of its lines.
struct ReportPart
{
    ExamReportContents contents;
    int lines = 0;
};

// Reads whole blocks of a report. Block by block: the lines are cut in the bytes
// (Windows-1251 gives one character per byte and keeps CR and LF, so the line rule is the
// same), and only the block between two closing lines is decoded at a time, so a large report
// is never held a second time as text, nor are all its lines listed at once. `goOn` is asked
// now and then with the bytes read so far; false stops the reading. `room` is the bytes
// whose records the list is made for: the part's own, or the whole report's for a first part
// that the records of the others will join.
template<typename GoOn>
std::optional<ReportPart> readPart(QByteArrayView bytes, qsizetype room, const GoOn &goOn)
{
    static const QByteArray closing = ExamRecordTexts::closingLine().toLatin1();
    const qsizetype size = bytes.size();
    ExamReader reader;
    std::vector<ByteLine> blockLines;
    std::vector<Line> lines;
    std::vector<SeparatorPlaces> separatorPlaces;
    QString text;
    qsizetype blockStart = 0;
    const auto readBlock = [&](qsizetype blockEnd, bool closed) {
        // A line's place in the bytes is its place in the text. The marks lines, most of a
        // report's bytes, are read in their bytes: the text between them is decoded, not they.
        text.resize(blockEnd - blockStart);
        QChar *const into = text.data();
        qsizetype undecoded = blockStart;
        lines.clear();
        // Made large enough at once: the lines point into it.
        separatorPlaces.clear();
        separatorPlaces.reserve(blockLines.size());
        SeparatorPlaces places;
        for (const ByteLine &line : blockLines) {
            const QByteArrayView lineBytes = bytes.sliced(line.start, line.size);
            const bool marks = itemSeparators(lineBytes, places) == TicketResult::Questions - 1;
            if (marks) {
                separatorPlaces.push_back(places);
                AnsiText::decode(bytes.sliced(undecoded, line.start - undecoded), into + (undecoded - blockStart));
                undecoded = line.start + line.size;
            }
            lines.push_back({marks ? QStringView() : QStringView(into + (line.start - blockStart), line.size), line.number,
                             line.start, marks ? separatorPlaces.back().data() : nullptr, lineBytes.data(), line.size});
        }
        AnsiText::decode(bytes.sliced(undecoded, blockEnd - undecoded), into + (undecoded - blockStart));
        reader.readBlock(lines.data(), lines.data() + lines.size(), closed);
        blockLines.clear();
    };
    ByteLines cut(bytes);
    int counted = 0;
    qsizetype blocks = 0;
    for (ByteLine line; cut.next(line);) {
        if (counted++ % LinesPerProgress == 0 && !goOn(line.start))
            return std::nullopt;
        if (line.size == closing.size() && std::memcmp(bytes.data() + line.start, closing.constData(), size_t(line.size)) == 0) {
            readBlock(line.start, true);
            blockStart = cut.position();
            // The records of a report are much alike, so its first ones tell about how many
            // there are: the list is made once at about that size rather than copied as it
            // grows (room reserved and never filled costs no memory).
            if (++blocks == RecordsForEstimate)
                reader.reserve(room / blockStart * RecordsForEstimate * 5 / 4);
        } else {
            blockLines.push_back(line);
        }
    }
    readBlock(size, false);
    return ReportPart{reader.take(), cut.count()};
}

// Where a report can be parted into two halves of whole blocks: after the closing line that
// follows the middle; -1 when there is none. A closing line that a lone CR ends or begins is
// left alone, so the parting never depends on how the line rule reads a run of CRs.
qsizetype partingAfterMiddle(QByteArrayView bytes)
{
    const QByteArray closing = "\n" + ExamRecordTexts::closingLine().toLatin1();
    for (qsizetype at = bytes.indexOf(closing, bytes.size() / 2); at >= 0; at = bytes.indexOf(closing, at + 1)) {
        const qsizetype end = at + closing.size();
        if (end + 1 < bytes.size() && bytes[end] == '\n')
            return end + 1;
        if (end + 2 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n')
            return end + 2;
        if (end + 3 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\r' && bytes[end + 2] == '\n')
            return end + 3;
    }
    return -1;
}

// The questions a ticket has, as far as the whole report shows: the highest question marked
// in any record of it, which the reading left in each record's questionCount. The records of
// a ticket mostly share one copy of its text, so they are gathered by that copy's address
// first, without hashing the text of every record, and the copies then by their text.
void countQuestions(ExamReportContents &contents)
{
    QHash<const QChar *, std::pair<QString, int>> byCopy;
    for (const TicketResult &ticket : std::as_const(contents.tickets)) {
        const auto found = byCopy.find(ticket.ticket.constData());
        if (found == byCopy.end())
            byCopy.insert(ticket.ticket.constData(), {ticket.ticket, ticket.questionCount});
        else
            found->second = std::max(found->second, ticket.questionCount);
    }
    QHash<QString, int> byText;
    for (const auto &[text, highest] : std::as_const(byCopy)) {
        int &count = byText[text];
        count = std::max(count, highest);
    }
    QHash<const QChar *, int> counts;
    for (auto copy = byCopy.cbegin(); copy != byCopy.cend(); ++copy)
        counts.insert(copy.key(), byText.value(copy->first));
    for (TicketResult &ticket : contents.tickets)
        ticket.questionCount = counts.value(ticket.ticket.constData());
}

// Reports of this size and more are read in two halves at once where the machine has two
// cores: each half is read as a report of its own, and the second's line numbers follow the
// first's.
constexpr qsizetype ParallelBytes = 8 * 1024 * 1024;

} // namespace

std::optional<ExamReportContents> readExamReport(const QByteArray &bytes, const Progress &progress)
{
    const qsizetype size = bytes.size();
    const qsizetype parting =
        size >= ParallelBytes && std::thread::hardware_concurrency() > 1 ? partingAfterMiddle(bytes) : -1;
    std::optional<ReportPart> first;
    if (parting < 0) {
        first = readPart(QByteArrayView(bytes), size, [&](qint64 done) { return !progress || progress(done, size); });
    } else {
        // The progress is told by the first half, read here, as its share of the whole; the
        // second half stops when the first is cancelled.
        std::atomic<bool> cancelled = false;
        std::optional<ReportPart> second;
        // What both halves share is made before the second starts: the encoded evaluation
        // lines, and Qt's calendars, which the first date read sets up.
        ExamRecordTexts::readEvaluationItem(1, QByteArrayView());
        readDate(u"01.01.2026"_s);
        std::thread secondHalf([&] {
            second = readPart(QByteArrayView(bytes).sliced(parting), size - parting, [&](qint64) { return !cancelled.load(); });
        });
        first = readPart(QByteArrayView(bytes).first(parting), size, [&](qint64 done) {
            const bool goOn = !progress || progress(done * size / parting, size);
            if (!goOn)
                cancelled = true;
            return goOn;
        });
        if (!first)
            cancelled = true;
        secondHalf.join();
        if (!first || !second)
            return std::nullopt;
        for (TicketResult &ticket : second->contents.tickets)
            ticket.line += first->lines;
        for (ReportProblem &problem : second->contents.problems) {
            problem.firstLine += first->lines;
            problem.lastLine += first->lines;
        }
        first->contents.tickets.append(std::move(second->contents.tickets));
        first->contents.problems.append(std::move(second->contents.problems));
    }
    if (!first || (progress && !progress(size, size)))
        return std::nullopt;
    countQuestions(first->contents);
    return std::move(first->contents);
}

std::optional<QuestionnaireReportContents> readQuestionnaireReport(const QByteArray &bytes,
                                                                   const Progress &progress)
{
    const Steps steps(progress, bytes.size());
    const std::optional<QString> text = decode(bytes, steps);
    if (!text)
        return std::nullopt;
    const std::vector<Line> lines = splitLines(*text);
    QuestionnaireReader reader(lines);
    if (!reader.read(steps))
        return std::nullopt;
    return reader.contents();
}

std::optional<Reports> readReports(const QString &programFolder, const Progress &progress)
{
    Reports reports;
    const QString examPath = programFolder + u'/' + ProgramPaths::examReportName();
    const QString questionnairePath = ProgramPaths(programFolder).questionnaireReport();
    const qint64 examSize = QFileInfo(examPath).size();
    const qint64 all = examSize + QFileInfo(questionnairePath).size();
    // Each report's share of the progress is its share of the bytes.
    const auto part = [&](qint64 before, qint64 size) -> Progress {
        return [&progress, before, size, all](qint64 done, qint64 total) {
            if (!progress)
                return true;
            return progress(before + (total > 0 ? done * size / total : 0), all);
        };
    };
    if (const auto bytes = readFile(examPath, reports.errors)) {
        auto exams = readExamReport(*bytes, part(0, examSize));
        if (!exams)
            return std::nullopt;
        reports.exams = std::move(*exams);
    }
    if (const auto bytes = readFile(questionnairePath, reports.errors)) {
        auto runs = readQuestionnaireReport(*bytes, part(examSize, all - examSize));
        if (!runs)
            return std::nullopt;
        reports.questionnaires = std::move(*runs);
    }
    const QString journalPath = ProgramPaths(programFolder).attemptsJournal();
    if (const auto bytes = readFile(journalPath, reports.errors)) {
        AttemptsJournal::Reading journal = AttemptsJournal::read(*bytes);
        reports.exams.tickets = ResultsMerge::merge(std::move(reports.exams.tickets), journal.attempts);
        reports.attempts = std::move(journal.attempts);
        reports.attemptProblems = ResultsMerge::problemsOf(journal.damaged);
    }
    if (progress && !progress(all, all))
        return std::nullopt;
    return reports;
}

} // namespace ReportReader
