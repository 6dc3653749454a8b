#include "core/questionnaire/questionnaire_file.h"

#include "core/files/ansi_text.h"
#include "core/files/fixed_point.h"
#include "core/files/folders.h"
#include "core/files/ini.h"
#include "core/program/program_paths.h"

using namespace Qt::StringLiterals;

namespace QuestionnaireFile {

namespace {

const QString HeaderSection = u"v"_s;

QString slotKey(char prefix, int slot)
{
    return QLatin1Char(prefix) + QString::number(slot + 1);
}

QString boundKey(int conclusion)
{
    return u"t"_s + QString::number(conclusion + 1);
}

// A value is one line of the file: a line break pasted into an answer becomes a space.
QString oneLine(const QString &value)
{
    QString line = value;
    line.replace(u"\r\n"_s, u" "_s);
    line.replace(u'\r', u' ');
    line.replace(u'\n', u' ');
    return line;
}

// The keys "<prefix>1", "<prefix>2", ... with the values, each on one line.
template <class Values>
void addKeys(QList<std::pair<QString, QString>> &keys, char prefix, const Values &values)
{
    for (int slot = 0; slot < int(values.size()); ++slot)
        keys.append({slotKey(prefix, slot), oneLine(values[slot])});
}

// Writes the keys of one section in one replace of the file, so a failure leaves none of
// them written.
bool writeKeys(const QString &questionnaireFile, const QString &section,
               const QList<std::pair<QString, QString>> &keys, QString *error)
{
    return SetValues(section, keys, questionnaireFile, error);
}

} // namespace

QString questionnaireFolder(const QString &programFolder, const QString &name)
{
    if (!isPathComponent(name))
        return QString();
    return ProgramPaths(programFolder).questionnaires() + u'/' + name;
}

QString filePath(const QString &programFolder, const QString &name)
{
    const QString folder = questionnaireFolder(programFolder, name);
    return folder.isEmpty() ? QString() : folder + u'/' + name + u".tst"_s;
}

QString questionFileName(const QString &number)
{
    return u"vt"_s + number + u".txt"_s;
}

QString conclusionFileName(int conclusion)
{
    switch (conclusion) {
    case 2:
        return u"v3.txt"_s;
    case 3:
        return u"v2.txt"_s;
    default:
        return u"v1.txt"_s;
    }
}

int questionCount(const QString &questionnaireFolder, QStringList *entries)
{
    // No folder (a refused name) has no entries; an empty path would list the working folder.
    if (questionnaireFolder.isEmpty()) {
        if (entries)
            entries->clear();
        return -4;
    }
    return GetFolders(questionnaireFolder, entries) - 4;
}

bool create(const QString &programFolder, const QString &name, QString *error)
{
    const QString file = filePath(programFolder, name);
    if (file.isEmpty()) {
        if (error)
            *error = u"the name is not the name of one folder"_s;
        return false;
    }
    MakeDirPath(questionnaireFolder(programFolder, name));
    return writeKeys(file, HeaderSection, {{u"t"_s, name}}, error);
}

Header readHeader(const IniFile &questionnaireFile)
{
    Header header;
    header.name = questionnaireFile.value(HeaderSection, u"t"_s);
    for (int conclusion = 0; conclusion < Conclusions; ++conclusion)
        header.bounds[conclusion] = questionnaireFile.value(HeaderSection, boundKey(conclusion));
    return header;
}

Header readHeader(const QString &questionnaireFile)
{
    return readHeader(IniFile(questionnaireFile));
}

bool writeBounds(const QString &questionnaireFile, const std::array<QString, Conclusions> &bounds, QString *error)
{
    QList<std::pair<QString, QString>> keys;
    for (int conclusion = 0; conclusion < Conclusions; ++conclusion)
        keys.append({boundKey(conclusion), bounds[conclusion]});
    return writeKeys(questionnaireFile, HeaderSection, keys, error);
}

Answers readAnswers(const IniFile &questionnaireFile, const QString &number)
{
    Answers answers;
    for (int slot = 0; slot < AnswerSlots; ++slot) {
        answers.texts[slot] = questionnaireFile.value(number, slotKey('q', slot));
        answers.points[slot] = questionnaireFile.value(number, slotKey('b', slot));
    }
    return answers;
}

Answers readAnswers(const QString &questionnaireFile, const QString &number)
{
    return readAnswers(IniFile(questionnaireFile), number);
}

bool writeAnswers(const QString &questionnaireFile, const QString &number, const Answers &answers, QString *error)
{
    QList<std::pair<QString, QString>> keys;
    addKeys(keys, 'q', answers.texts);
    addKeys(keys, 'b', answers.points);
    return writeKeys(questionnaireFile, number, keys, error);
}

QString readText(const QString &path)
{
    return AnsiText::toWindowLineEnds(AnsiText::readWhole(path).value_or(QString()));
}

bool writeText(const QString &path, const QString &text, QString *error)
{
    return AnsiText::writeWhole(path, AnsiText::asFileText(text), error);
}

bool isAcceptedNumber(const QString &text)
{
    const auto number = Fixed::parse(text);
    return number && number->toInt16().has_value();
}

} // namespace QuestionnaireFile
