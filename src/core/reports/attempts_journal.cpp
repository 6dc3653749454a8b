#include "core/reports/attempts_journal.h"

#include "core/files/ansi_text.h"
#include "core/files/folders.h"
#include "core/reports/attempt_line_scanner.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace AttemptsJournal {

namespace {

constexpr char LineEnd[] = "\n";

const std::array<std::pair<Attempt::Ending, QLatin1StringView>, 5> EndingNames = {{
    {Attempt::Ending::Graded, "graded"_L1},
    {Attempt::Ending::Closed, "closed"_L1},
    {Attempt::Ending::FailedOnTime, "failed_on_time"_L1},
    {Attempt::Ending::Abandoned, "abandoned"_L1},
    {Attempt::Ending::Discarded, "discarded"_L1},
}};

const std::array<std::pair<Verdict, QLatin1StringView>, 4> VerdictNames = {{
    {Verdict::None, "none"_L1},
    {Verdict::Passed, "passed"_L1},
    {Verdict::Failed, "failed"_L1},
    {Verdict::FailedOnTime, "failed_on_time"_L1},
}};

// The fields this version writes; any other field of a line is kept as it was read.
const QStringList KnownFields = {
    u"version"_s,      u"exam"_s,           u"ticket"_s,      u"ticket_folder"_s,  u"ticket_line"_s,
    u"language"_s,     u"questions"_s,      u"student"_s,     u"workstation"_s,    u"start"_s,
    u"end"_s,          u"ending"_s,         u"grade"_s,       u"verdict"_s,        u"pass_score"_s,
    u"question_count"_s, u"timer"_s,        u"saved_to_report"_s, u"report"_s,
};

// ISO 8601 with the offset of the time zone, so that workstations in other zones agree.
QJsonValue timeValue(const QDateTime &time)
{
    if (!time.isValid())
        return QJsonValue();
    return time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODate);
}

QDateTime timeOf(const QJsonValue &value)
{
    return QDateTime::fromString(value.toString(), Qt::ISODate);
}

template<typename Value, std::size_t N>
std::optional<Value> valueNamed(const std::array<std::pair<Value, QLatin1StringView>, N> &names, const QString &name)
{
    for (const auto &[value, spelled] : names) {
        if (name == spelled)
            return value;
    }
    return std::nullopt;
}

QJsonObject questionObject(const Attempt::Question &question)
{
    QJsonObject object{
        {u"number"_s, question.number},
        {u"text"_s, question.text},
        {u"offered"_s, QJsonArray::fromStringList(question.offered)},
        {u"chosen"_s, question.chosen},
        {u"correct"_s, question.correct},
        {u"mark"_s, question.mark},
    };
    object.insert(u"seconds"_s, question.seconds ? QJsonValue(*question.seconds) : QJsonValue());
    return object;
}

std::optional<Attempt::Question> questionOf(const QJsonValue &value)
{
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject object = value.toObject();
    Attempt::Question question;
    question.number = object.value(u"number"_s).toInt();
    if (question.number <= 0)
        return std::nullopt;
    question.text = object.value(u"text"_s).toString();
    for (const QJsonValue offered : object.value(u"offered"_s).toArray())
        question.offered << offered.toString();
    question.chosen = object.value(u"chosen"_s).toString();
    question.correct = object.value(u"correct"_s).toString();
    question.mark = object.value(u"mark"_s).toString();
    const QJsonValue seconds = object.value(u"seconds"_s);
    if (seconds.isDouble())
        question.seconds = seconds.toInt();
    return question;
}

} // namespace

QString endingName(Attempt::Ending ending)
{
    for (const auto &[value, name] : EndingNames) {
        if (value == ending)
            return name;
    }
    return {};
}

QString verdictName(Verdict verdict)
{
    for (const auto &[value, name] : VerdictNames) {
        if (value == verdict)
            return name;
    }
    return {};
}

QByteArray encode(const Attempt &attempt)
{
    QJsonObject object = attempt.unknown;
    object.insert(u"version"_s, Version);
    object.insert(u"exam"_s, QJsonObject{{u"folder"_s, attempt.examFolder}, {u"title"_s, attempt.examTitle}});
    object.insert(u"ticket"_s, attempt.ticket);
    object.insert(u"ticket_folder"_s, attempt.ticketFolder);
    object.insert(u"ticket_line"_s, attempt.ticketLine);
    object.insert(u"language"_s, attempt.language);
    QJsonArray questions;
    for (const Attempt::Question &question : attempt.questions)
        questions.append(questionObject(question));
    object.insert(u"questions"_s, questions);
    const Student &student = attempt.student;
    object.insert(u"student"_s, QJsonObject{{u"name"_s, student.name},
                                            {u"line"_s, student.line},
                                            {u"data"_s, QJsonArray{student.data1, student.data2, student.data3}}});
    object.insert(u"workstation"_s, attempt.workstation);
    object.insert(u"start"_s, timeValue(attempt.start));
    object.insert(u"end"_s, timeValue(attempt.end));
    object.insert(u"ending"_s, endingName(attempt.ending));
    object.insert(u"grade"_s, attempt.grade);
    object.insert(u"verdict"_s, verdictName(attempt.verdict));
    object.insert(u"pass_score"_s, attempt.passScore);
    object.insert(u"question_count"_s, attempt.questionCount);
    object.insert(u"timer"_s, QJsonObject{{u"ticket"_s, attempt.ticketTimer},
                                          {u"question"_s, attempt.questionTimer},
                                          {u"seconds"_s, attempt.countdownSeconds}});
    object.insert(u"saved_to_report"_s, attempt.savedToReport);
    object.insert(u"report"_s, QJsonObject{{u"date"_s, attempt.reportDate}, {u"time"_s, attempt.reportTime}});
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<Attempt::Ending> endingNamed(const QString &name)
{
    return valueNamed(EndingNames, name);
}

std::optional<Verdict> verdictNamed(const QString &name)
{
    return valueNamed(VerdictNames, name);
}

std::optional<Attempt> decode(QByteArrayView line)
{
    // Nearly every line is as this program wrote it, and the scanner reads those several times
    // faster than building a JSON document; what it leaves, the document reader decides.
    if (std::optional<Attempt> attempt = AttemptLineScanner().scan(line))
        return attempt;
    return decodeDocument(line);
}

std::optional<Attempt> scan(QByteArrayView line)
{
    return AttemptLineScanner().scan(line);
}

std::optional<Attempt> decodeDocument(QByteArrayView line)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(line.toByteArray(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    // A later version adds fields; the ones read here keep their meaning.
    if (object.value(u"version"_s).toInt() < 1)
        return std::nullopt;
    const std::optional<Attempt::Ending> ending = valueNamed(EndingNames, object.value(u"ending"_s).toString());
    if (!ending)
        return std::nullopt;

    Attempt attempt;
    attempt.ending = *ending;
    const QJsonObject exam = object.value(u"exam"_s).toObject();
    attempt.examFolder = exam.value(u"folder"_s).toString();
    attempt.examTitle = exam.value(u"title"_s).toString();
    attempt.ticket = object.value(u"ticket"_s).toString();
    attempt.ticketFolder = object.value(u"ticket_folder"_s).toString();
    attempt.ticketLine = object.value(u"ticket_line"_s).toString();
    attempt.language = object.value(u"language"_s).toString();
    for (const QJsonValue value : object.value(u"questions"_s).toArray()) {
        const std::optional<Attempt::Question> question = questionOf(value);
        if (!question)
            return std::nullopt;
        attempt.questions << *question;
    }
    const QJsonObject student = object.value(u"student"_s).toObject();
    attempt.student.name = student.value(u"name"_s).toString();
    attempt.student.line = student.value(u"line"_s).toString();
    const QJsonArray data = student.value(u"data"_s).toArray();
    attempt.student.data1 = data.at(0).toString();
    attempt.student.data2 = data.at(1).toString();
    attempt.student.data3 = data.at(2).toString();
    attempt.workstation = object.value(u"workstation"_s).toString();
    attempt.start = timeOf(object.value(u"start"_s));
    attempt.end = timeOf(object.value(u"end"_s));
    attempt.grade = object.value(u"grade"_s).toString();
    attempt.verdict = valueNamed(VerdictNames, object.value(u"verdict"_s).toString()).value_or(Verdict::None);
    attempt.passScore = object.value(u"pass_score"_s).toString();
    attempt.questionCount = object.value(u"question_count"_s).toString();
    const QJsonObject timer = object.value(u"timer"_s).toObject();
    attempt.ticketTimer = timer.value(u"ticket"_s).toBool();
    attempt.questionTimer = timer.value(u"question"_s).toBool();
    attempt.countdownSeconds = timer.value(u"seconds"_s).toInt();
    attempt.savedToReport = object.value(u"saved_to_report"_s).toBool();
    const QJsonObject report = object.value(u"report"_s).toObject();
    attempt.reportDate = report.value(u"date"_s).toString();
    attempt.reportTime = report.value(u"time"_s).toString();
    for (auto field = object.constBegin(); field != object.constEnd(); ++field) {
        if (!KnownFields.contains(field.key()))
            attempt.unknown.insert(field.key(), field.value());
    }
    return attempt;
}

Reading read(const QByteArray &bytes)
{
    Reading reading;
    AttemptLineScanner scanner;
    qsizetype start = 0;
    qsizetype number = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        ++number;
        // A line end another tool or the partial line of a dead workstation left (CR LF) is
        // no part of the line.
        const QByteArrayView line = QByteArrayView(bytes).sliced(start, end - start).trimmed();
        if (line.isEmpty()) {
            start = end + 1;
            continue;
        }
        // The lines of a journal are much alike, so the first tells about how many there are:
        // the lists are made once at that size rather than copied as they grow. A line of an
        // attempt is never this short, which bounds the room a short first line asks for.
        if (reading.attempts.isEmpty()) {
            const qsizetype estimate = bytes.size() / std::max<qsizetype>(end - start, 256) + 1;
            reading.attempts.reserve(estimate);
            reading.lines.reserve(estimate);
        }
        start = end + 1;
        // Made in place in the list, since a journal has tens of thousands of them.
        Attempt &attempt = reading.attempts.emplaceBack();
        if (!scanner.scan(line, &attempt)) {
            if (std::optional<Attempt> document = decodeDocument(line)) {
                attempt = std::move(*document);
            } else {
                reading.attempts.removeLast();
                reading.damaged << Damaged{number, line.toByteArray()};
                continue;
            }
        }
        reading.lines << number;
    }
    // A first line much longer than the rest asked for too little room, which the lists grew
    // past; a first line much shorter, for room that is given back here.
    if (reading.attempts.capacity() > 2 * reading.attempts.size()) {
        reading.attempts.squeeze();
        reading.lines.squeeze();
    }
    return reading;
}

std::optional<Reading> readFile(const QString &path)
{
    if (!QFileInfo::exists(path))
        return Reading();
    const std::optional<QByteArray> bytes = AnsiText::readBytes(path);
    if (!bytes)
        return std::nullopt;
    return read(*bytes);
}

bool append(const QString &path, const Attempt &attempt, FileError *error)
{
    MakeDirPath(QFileInfo(path).absolutePath());
    return AnsiText::appendBytes(path, encode(attempt) + LineEnd, error, LineEnd);
}

} // namespace AttemptsJournal
