#include "core/program/settings_record.h"

#include "core/files/fixed_point.h"
#include "core/files/ini.h"
#include "core/program/language_policy.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace {

const QString Section = u"test"_s;
// The program's own keys, apart from those of [test] that other programs read.
const QString OwnSection = u"tavring"_s;
const QString SaveAllKey = u"saveall"_s;
const QString ShuffleKey = u"shuffle"_s;
const QString PrintSheetKey = u"printsheet"_s;

// Stores a new value and tells the listeners, only when it differs: a control that mirrors
// the value and writes it back ends the round there.
template <class Value, class Signal>
void change(SettingsRecord *record, Value &member, const Value &value, Signal signal)
{
    if (member == value)
        return;
    member = value;
    emit (record->*signal)(value);
}

} // namespace

SettingsRecord::SettingsRecord(QObject *parent) : QObject(parent) {}

QString SettingsRecord::pictureSizeKey() const
{
    return m_pictureSize == PictureSize::Fixed ? u"1"_s : u"2"_s;
}

std::optional<int> SettingsRecord::acceptedMinutes(const QString &typed)
{
    const auto number = Fixed::parse(typed);
    const auto minutes = number ? number->toInt16() : std::nullopt;
    if (!minutes || *minutes < 0 || *minutes > MaxMinutes)
        return std::nullopt;
    return int(*minutes);
}

int SettingsRecord::wholeMinutes() const
{
    return std::max(1, acceptedMinutes(m_minutes).value_or(1));
}

void SettingsRecord::setTickets(const QString &value) { change(this, m_tickets, value, &SettingsRecord::ticketsChanged); }
void SettingsRecord::setQuestions(const QString &value) { change(this, m_questions, value, &SettingsRecord::questionsChanged); }
void SettingsRecord::setPassScore(const QString &value) { change(this, m_passScore, value, &SettingsRecord::passScoreChanged); }
void SettingsRecord::setMinutes(const QString &value) { change(this, m_minutes, value, &SettingsRecord::minutesChanged); }
void SettingsRecord::setPassword(const QString &value) { change(this, m_password, value, &SettingsRecord::passwordChanged); }
void SettingsRecord::setPictureWidth(const QString &value) { change(this, m_pictureWidth, value, &SettingsRecord::pictureWidthChanged); }
void SettingsRecord::setPictureHeight(const QString &value) { change(this, m_pictureHeight, value, &SettingsRecord::pictureHeightChanged); }
void SettingsRecord::setPictureSize(PictureSize value) { change(this, m_pictureSize, value, &SettingsRecord::pictureSizeChanged); }
void SettingsRecord::setLanguage(const QString &value) { change(this, m_language, value, &SettingsRecord::languageChanged); }
void SettingsRecord::setExamFolder(const QString &value) { change(this, m_examFolder, value, &SettingsRecord::examFolderChanged); }
void SettingsRecord::setSaveAll(bool on) { change(this, m_saveAll, on, &SettingsRecord::saveAllChanged); }
void SettingsRecord::setShuffleAnswers(bool on) { change(this, m_shuffleAnswers, on, &SettingsRecord::shuffleAnswersChanged); }
void SettingsRecord::setPrintSheet(bool on) { change(this, m_printSheet, on, &SettingsRecord::printSheetChanged); }
void SettingsRecord::setTicketTimer(bool on) { change(this, m_ticketTimer, on, &SettingsRecord::ticketTimerChanged); }
void SettingsRecord::setQuestionTimer(bool on) { change(this, m_questionTimer, on, &SettingsRecord::questionTimerChanged); }

void SettingsRecord::load(const QString &file)
{
    const IniFile settings(file);
    const auto read = [&settings](const QString &key) { return settings.value(Section, key); };
    setTickets(read(u"bilet"_s));
    setQuestions(read(u"vopros"_s));
    setPassScore(read(u"ball"_s));
    setMinutes(read(u"time"_s));
    setPassword(read(u"pass"_s));
    setPictureWidth(read(u"l"_s));
    setPictureHeight(read(u"h"_s));
    setPictureSize(read(u"k"_s) == "1"_L1 ? PictureSize::Fixed : PictureSize::Real);
    setLanguage(read(u"re"_s));
    setExamFolder(read(u"z"_s));
    setSaveAll(settings.value(OwnSection, SaveAllKey) == "1"_L1);
    setShuffleAnswers(settings.value(OwnSection, ShuffleKey) == "1"_L1);
    setPrintSheet(settings.value(OwnSection, PrintSheetKey) == "1"_L1);
    setTicketTimer(false);
    setQuestionTimer(false);
}

SettingsRecord::SaveResult SettingsRecord::save(const QString &file) const
{
    SaveResult result;
    result.ok = SetValues(Section,
                          {{u"bilet"_s, m_tickets},
                           {u"vopros"_s, m_questions},
                           {u"ball"_s, m_passScore},
                           {u"time"_s, m_minutes},
                           {u"pass"_s, m_password},
                           {u"l"_s, m_pictureWidth},
                           {u"h"_s, m_pictureHeight},
                           {u"k"_s, pictureSizeKey()},
                           {u"z"_s, m_examFolder}},
                          file, &result.error);
    const auto own = [&](const QString &key, bool on) {
        if (result.ok && (on || !GetValueString(OwnSection, key, file).isEmpty()))
            result.ok = SetValues(OwnSection, {{key, on ? u"1"_s : u"0"_s}}, file, &result.error);
    };
    own(SaveAllKey, m_saveAll);
    own(ShuffleKey, m_shuffleAnswers);
    own(PrintSheetKey, m_printSheet);
    return result;
}

SettingsRecord::SaveResult SettingsRecord::saveLanguage(const QString &file) const
{
    SaveResult result;
    result.ok = SetValues(Section, {{u"re"_s, m_language}}, file, &result.error);
    return result;
}

SettingsRecord::SaveResult SettingsRecord::saveRegistrationFlag(const QString &file, const QString &value)
{
    SaveResult result;
    result.ok = SetValues(u"reg"_s, {{u"reg"_s, value}}, file, &result.error);
    return result;
}

QString SettingsRecord::saveFailureText(const QString &file, const SaveResult &result, const QString &language)
{
    const LanguagePolicy policy(language);
    return policy.text(u"Не удалось сохранить настройки в файл %1: %2"_s, u"The settings could not be saved to the file %1: %2"_s)
        .arg(QDir::toNativeSeparators(file), result.error.reason(policy));
}

void SettingsRecord::restoreExamFolder(const QString &file)
{
    setExamFolder(GetValueString(Section, u"z"_s, file));
}
