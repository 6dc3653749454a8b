#pragma once

#include <QString>
#include <QStringList>

#include <array>

class IniFile;

// A questionnaire on disk: the folder t/<name> of the program folder holds the
// questionnaire file <name>.tst (INI form), one text file per question ("vt<N>.txt") and
// the three conclusion files. Conclusion 2 lives in "v3.txt" and conclusion 3 in "v2.txt".
namespace QuestionnaireFile {

inline constexpr int AnswerSlots = 5;
inline constexpr int Conclusions = 3;


// The folder of one questionnaire; the empty text when the name is not one path level, so a
// name read from a file never leads outside the questionnaires folder.
QString questionnaireFolder(const QString &programFolder, const QString &name);

// The file of the named questionnaire inside its folder; empty for a name that is not
// one path level.
QString filePath(const QString &programFolder, const QString &name);

// "vt" + number + ".txt".
QString questionFileName(const QString &number);

// The file of conclusion 1, 2 or 3: "v1.txt", "v3.txt", "v2.txt".
QString conclusionFileName(int conclusion);

// The number of questions: the entries of the questionnaire folder less the
// questionnaire file and the three conclusion files. A stray file counts as one more question. The entries go to the
// list when one is given.
int questionCount(const QString &questionnaireFolder, QStringList *entries = nullptr);

// The writers below give false on failure, with the reason in error; nothing is half written.

// Creates the questionnaire folder and writes the name into the questionnaire file. A name
// that is not one path level is refused before anything is created.
bool create(const QString &programFolder, const QString &name, QString *error = nullptr);

struct Header
{
    QString name;
    std::array<QString, Conclusions> bounds;
};
// Read from a file read once, so that showing a question reads the questionnaire file one time.
Header readHeader(const IniFile &questionnaireFile);
Header readHeader(const QString &questionnaireFile);
// Writes the three bounds t1 ... t3 in one replace of the file.
bool writeBounds(const QString &questionnaireFile, const std::array<QString, Conclusions> &bounds,
                 QString *error = nullptr);

// The answers of one question and their points, as the boxes of the editor hold them.
struct Answers
{
    std::array<QString, AnswerSlots> texts;
    std::array<QString, AnswerSlots> points;
};
Answers readAnswers(const IniFile &questionnaireFile, const QString &number);
Answers readAnswers(const QString &questionnaireFile, const QString &number);
// Writes q1 ... q5, then b1 ... b5 into the section of the question, in one replace of the
// file: all of them or, on failure, none.
bool writeAnswers(const QString &questionnaireFile, const QString &number, const Answers &answers,
                  QString *error = nullptr);

// Question and conclusion texts. In the windows a line break is "\n"; in the files it is
// CR LF and the text ends with one. Reading gives the whole file, final line break
// included; a missing file reads as the empty text.
QString readText(const QString &path);
// Writes the text whole, with CR LF line ends. A text that already ends in a line break
// gets no further one, so loading a text and saving it again leaves the file as it was.
bool writeText(const QString &path, const QString &text, QString *error = nullptr);


// Whether a points, bound or question-number box holds an accepted number: a number in
// the user's locale whose nearest whole number lies in -32768 ... 32767.
bool isAcceptedNumber(const QString &text);

} // namespace QuestionnaireFile
