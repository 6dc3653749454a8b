#include "core/exam/ticket_journal.h"

#include "core/files/ansi_text.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <limits>
#include <tuple>

using namespace Qt::StringLiterals;

namespace TicketJournal {

namespace {

constexpr char Magic[] = "TAVRING-TICKET-JOURNAL";

const QString VerdictNames[] = {u"none"_s, u"pass"_s, u"fail"_s, u"out-of-time"_s};

QString verdictName(Verdict verdict)
{
    return VerdictNames[int(verdict)];
}

std::optional<Verdict> verdictNamed(const QString &name)
{
    for (int i = 0; i < int(std::size(VerdictNames)); ++i) {
        if (VerdictNames[i] == name)
            return Verdict(i);
    }
    return std::nullopt;
}

QByteArray checksum(const QByteArray &body)
{
    return QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex();
}

QJsonObject toJson(const Record &record)
{
    const Student &student = record.student;
    const TicketRun::Setup &setup = record.setup;
    const TicketRun::State &state = record.state;

    QJsonArray questions;
    for (int n = 0; n < TicketRun::Questions; ++n) {
        QJsonObject question{{u"mark"_s, state.marks[n]},
                             {u"text"_s, state.answeredTexts[n]},
                             {u"enabled"_s, state.enabled[n]}};
        if (setup.shuffleAnswers) {
            QJsonArray order;
            for (const int place : state.answerOrders[n])
                order.append(place);
            question.insert(u"order"_s, order);
        }
        questions.append(question);
    }
    QJsonObject setupObject{{u"examFolder"_s, setup.examFolder},
                            {u"ticketNumber"_s, setup.ticketNumber},
                            {u"questionCount"_s, setup.questionCount},
                            {u"passScore"_s, setup.passScore},
                            {u"ticketTimer"_s, setup.ticketTimer},
                            {u"questionTimer"_s, setup.questionTimer},
                            {u"countdownSeconds"_s, setup.countdownSeconds}};
    if (setup.shuffleAnswers)
        setupObject.insert(u"shuffleAnswers"_s, true);
    return QJsonObject{
        {u"student"_s, QJsonObject{{u"line"_s, student.line},
                                   {u"name"_s, student.name},
                                   {u"data1"_s, student.data1},
                                   {u"data2"_s, student.data2},
                                   {u"data3"_s, student.data3}}},
        {u"ticket"_s, QJsonObject{{u"number"_s, record.ticketNumber},
                                  {u"folderName"_s, record.ticketFolderName},
                                  {u"examTitle"_s, record.examTitle}}},
        {u"setup"_s, setupObject},
        {u"questions"_s, questions},
        {u"current"_s, state.current},
        {u"answerable"_s, state.answerable},
        {u"grade"_s, state.grade},
        {u"verdict"_s, verdictName(state.verdict)},
        {u"countdown"_s, state.countdown},
        {u"ticketTimerRunning"_s, state.ticketTimerRunning},
        {u"questionTimerRunning"_s, state.questionTimerRunning},
    };
}

// Reads the fields of a JSON object strictly: a missing field or one of another type makes
// the whole reading fail, so that a journal is taken up whole or not at all.
class Reader
{
public:
    explicit Reader(const QJsonObject &object) : m_object(object) {}

    bool ok() const { return m_ok; }

    QString text(const QString &key)
    {
        const QJsonValue value = m_object.value(key);
        m_ok = m_ok && value.isString();
        return value.toString();
    }

    bool flag(const QString &key)
    {
        const QJsonValue value = m_object.value(key);
        m_ok = m_ok && value.isBool();
        return value.toBool();
    }

    // A whole number from 0 to the largest 16-bit signed number, which every count here fits.
    int number(const QString &key)
    {
        const QJsonValue value = m_object.value(key);
        const double number = value.toDouble(-1);
        m_ok = m_ok && value.isDouble() && number >= 0 && number <= std::numeric_limits<qint16>::max()
               && number == double(int(number));
        return m_ok ? int(number) : 0;
    }

    QJsonObject object(const QString &key)
    {
        const QJsonValue value = m_object.value(key);
        m_ok = m_ok && value.isObject();
        return value.toObject();
    }

    QJsonArray array(const QString &key)
    {
        const QJsonValue value = m_object.value(key);
        m_ok = m_ok && value.isArray();
        return value.toArray();
    }

    // Takes over the result of a reader of an inner object.
    void take(const Reader &inner) { m_ok = m_ok && inner.ok(); }

private:
    QJsonObject m_object;
    bool m_ok = true;
};

std::optional<Record> fromJson(const QJsonObject &object, int version)
{
    const bool shuffled = version == ShuffledVersion;
    Record record;
    Reader top(object);

    Reader student(top.object(u"student"_s));
    record.student.line = student.text(u"line"_s);
    record.student.name = student.text(u"name"_s);
    record.student.data1 = student.text(u"data1"_s);
    record.student.data2 = student.text(u"data2"_s);
    record.student.data3 = student.text(u"data3"_s);
    top.take(student);

    Reader ticket(top.object(u"ticket"_s));
    record.ticketNumber = ticket.text(u"number"_s);
    record.ticketFolderName = ticket.text(u"folderName"_s);
    record.examTitle = ticket.text(u"examTitle"_s);
    top.take(ticket);

    Reader setup(top.object(u"setup"_s));
    record.setup.examFolder = setup.text(u"examFolder"_s);
    record.setup.ticketNumber = setup.text(u"ticketNumber"_s);
    record.setup.questionCount = setup.text(u"questionCount"_s);
    record.setup.passScore = setup.text(u"passScore"_s);
    record.setup.ticketTimer = setup.flag(u"ticketTimer"_s);
    record.setup.questionTimer = setup.flag(u"questionTimer"_s);
    record.setup.countdownSeconds = setup.number(u"countdownSeconds"_s);
    record.setup.shuffleAnswers = shuffled && setup.flag(u"shuffleAnswers"_s);
    top.take(setup);

    TicketRun::State &state = record.state;
    const QJsonArray questions = top.array(u"questions"_s);
    if (questions.size() != TicketRun::Questions)
        return std::nullopt;
    for (int n = 0; n < TicketRun::Questions; ++n) {
        Reader question(questions.at(n).toObject());
        state.marks[n] = question.text(u"mark"_s);
        state.answeredTexts[n] = question.text(u"text"_s);
        state.enabled[n] = question.flag(u"enabled"_s);
        if (shuffled) {
            for (const QJsonValue place : question.array(u"order"_s)) {
                if (!place.isDouble() || place.toDouble() != double(place.toInt()) || place.toInt() < 0)
                    return std::nullopt;
                state.answerOrders[n].append(place.toInt());
            }
        }
        top.take(question);
    }
    state.current = top.number(u"current"_s);
    state.answerable = top.flag(u"answerable"_s);
    state.grade = top.text(u"grade"_s);
    const std::optional<Verdict> verdict = verdictNamed(top.text(u"verdict"_s));
    state.verdict = verdict.value_or(Verdict::None);
    state.countdown = top.number(u"countdown"_s);
    state.ticketTimerRunning = top.flag(u"ticketTimerRunning"_s);
    state.questionTimerRunning = top.flag(u"questionTimerRunning"_s);

    if (!top.ok() || !verdict)
        return std::nullopt;
    return record;
}

} // namespace

bool Record::operator==(const Record &other) const
{
    const auto studentFields = [](const Student &s) {
        return std::tie(s.line, s.name, s.data1, s.data2, s.data3);
    };
    const auto setupFields = [](const TicketRun::Setup &s) {
        return std::tie(s.examFolder, s.ticketNumber, s.questionCount, s.passScore, s.ticketTimer,
                        s.questionTimer, s.countdownSeconds, s.shuffleAnswers);
    };
    return studentFields(student) == studentFields(other.student) && ticketNumber == other.ticketNumber
           && ticketFolderName == other.ticketFolderName && examTitle == other.examTitle
           && setupFields(setup) == setupFields(other.setup) && state == other.state;
}

QByteArray encode(const Record &record)
{
    const QByteArray body = QJsonDocument(toJson(record)).toJson(QJsonDocument::Indented);
    const int version = record.setup.shuffleAnswers ? ShuffledVersion : Version;
    return QByteArray(Magic) + ' ' + QByteArray::number(version) + ' ' + checksum(body) + '\n' + body;
}

std::optional<Record> decode(const QByteArray &bytes)
{
    const qsizetype headerEnd = bytes.indexOf('\n');
    if (headerEnd < 0)
        return std::nullopt;
    const QList<QByteArray> header = bytes.left(headerEnd).split(' ');
    const QByteArray body = bytes.mid(headerEnd + 1);
    if (header.size() != 3 || header[0] != Magic || header[2] != checksum(body))
        return std::nullopt;
    const int version = header[1] == QByteArray::number(Version)           ? Version
                        : header[1] == QByteArray::number(ShuffledVersion) ? ShuffledVersion
                                                                           : 0;
    if (version == 0)
        return std::nullopt;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return fromJson(document.object(), version);
}

bool write(const QString &path, const Record &record, FileError *error)
{
    return AnsiText::writeBytes(path, encode(record), error);
}

std::unique_ptr<SharedLock> journalLock(const QString &path)
{
    return std::make_unique<SharedLock>(path + u".lock"_s);
}

bool examExists(const Record &record)
{
    const ExamTicket ticket(record.setup.examFolder, record.setup.ticketNumber);
    return ticket.isValid() && QFileInfo(ticket.path(QString())).isDir();
}

QString setAside(const QString &path, const QDateTime &now)
{
    const QString stamped = path + u'.' + now.toString(u"yyyyMMdd-HHmmss"_s);
    QString aside = stamped;
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = stamped + u'-' + QString::number(n);
    return QFile::rename(path, aside) ? aside : QString();
}

} // namespace TicketJournal
