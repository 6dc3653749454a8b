// The file work of the program against its physical floor: each case times what the program
// does and, in the same run, the least any program must do for it (read the same bytes, one
// safe rewrite, list the folder). Runs are interleaved program, floor, program, floor ... so
// that the noise of a shared machine falls on both alike; the ratio printed is the median of
// the ratios of the pairs. Cases with two sizes also print how time grows with size.
//
// Not a test: the numbers depend on the machine. scripts/bench.sh builds and runs it; words
// given on the command line (answers, INI, settings, questionnaire, report, chooser, ticket,
// encoding) run only the cases they name.

#include "app/application.h"
#include "core/exam/exam_folder.h"
#include "core/exam/ticket_session.h"
#include "core/files/ansi_text.h"
#include "core/files/folders.h"
#include "core/files/ini.h"
#include "core/program/program_paths.h"
#include "core/program/settings_record.h"
#include "core/questionnaire/questionnaire_file.h"
#include "core/reports/exam_report.h"
#include "gui/chooser/exam_chooser_window.h"
#include "gui/exam/ticket_window.h"
#include "support/test_platform.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// How long the pairs of one case may take together, and how many pairs at least and at most.
constexpr double CaseBudgetMs = 2000;
constexpr int MinPairs = 5;
constexpr int MaxPairs = 41;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double timeMs(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

struct Measured
{
    double program = 0;
    double floor = 0;
    double ratio = 0;
    int pairs = 0;
};

// Interleaved pairs: `prepare` runs untimed before each run of the program.
Measured measure(const std::function<void()> &program, const std::function<void()> &floor,
                 const std::function<void()> &prepare = {})
{
    const auto runProgram = [&] {
        if (prepare)
            prepare();
        return timeMs(program);
    };
    // One untimed round warms the caches and tells how many pairs fit the budget.
    const double first = runProgram() + timeMs(floor);
    const int pairs = std::clamp(int(CaseBudgetMs / std::max(first, 0.001)), MinPairs, MaxPairs);
    std::vector<double> programTimes, floorTimes, ratios;
    for (int i = 0; i < pairs; ++i) {
        const double a = runProgram();
        const double b = timeMs(floor);
        programTimes.push_back(a);
        floorTimes.push_back(b);
        ratios.push_back(a / std::max(b, 1e-6));
    }
    return {median(programTimes), median(floorTimes), median(ratios), pairs};
}

struct Row
{
    QString name;
    QString size;
    QString floorName;
    Measured m;
};

std::vector<Row> g_rows;
// The words given on the command line: only the cases whose name holds one of them run.
QStringList g_only;

bool selected(const QString &name)
{
    return g_only.isEmpty()
           || std::any_of(g_only.begin(), g_only.end(), [&](const QString &word) { return name.contains(word); });
}

void print(const Row &row)
{
    std::printf("%-44s %14s %11.3f %11.3f %9.2f  %s (%d pairs)\n", qPrintable(row.name),
                qPrintable(row.size), row.m.program, row.m.floor, row.m.ratio,
                qPrintable(row.floorName), row.m.pairs);
    std::fflush(stdout);
}

void report(const QString &name, const QString &size, const QString &floorName, const Measured &m)
{
    g_rows.push_back({name, size, floorName, m});
    print(g_rows.back());
}

// How the program's time, the floor's and their ratio grow from the smaller size to the larger.
void growth(const QString &name, double sizeFactor)
{
    std::vector<const Row *> found;
    for (const Row &row : g_rows) {
        if (row.name == name)
            found.push_back(&row);
    }
    if (found.size() != 2)
        return;
    const Measured &small = found[0]->m;
    const Measured &large = found[1]->m;
    std::printf("  growth x%g in size: program x%.2f, floor x%.2f, ratio x%.2f\n", sizeFactor,
                large.program / small.program, large.floor / small.floor, large.ratio / small.ratio);
    std::fflush(stdout);
}

// The floors.
QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void safeRewrite(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(bytes);
        file.commit();
    }
}

int listFolder(const QString &path)
{
    int count = 0;
    std::error_code error;
    for (auto it = std::filesystem::directory_iterator(path.toStdString(), error);
         it != std::filesystem::directory_iterator(); it.increment(error))
        ++count;
    return count;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

// Keeps the compiler from dropping a result.
volatile qsizetype g_sink = 0;

void answersFile(const QString &dir, int lines)
{
    const QString exam = dir + u"/answers%1"_s.arg(lines);
    QString text;
    for (int i = 0; i < lines; ++i)
        text += u"Ответ номер %1: вариант ответа\r\n"_s.arg(i);
    writeFile(exam + u"/b1/v1.txt"_s, AnsiText::encode(text));
    const ExamTicket ticket(exam, u"1"_s);
    const QString path = ticket.path(ExamFolder::answersFile(1));
    // What the ticket keeps of an answers file: its bytes and the place of each line; the list
    // decodes only the rows it shows. The entries stay, as the ticket keeps them; they are let
    // go untimed before the next run.
    AnsiText::Lines entries;
    QByteArray bytes;
    report(u"answers file to list entries"_s, u"%1 lines"_s.arg(lines), u"reading the bytes"_s,
           measure([&] { entries = ticket.answers(1); }, [&] { bytes = readFile(path); },
                   [&] {
                       entries = AnsiText::Lines();
                       bytes.clear();
                   }));
}

QByteArray iniText(int lines)
{
    QString text;
    int written = 0;
    for (int section = 1; written < lines; ++section) {
        text += u"[section%1]\r\n"_s.arg(section);
        ++written;
        for (int key = 1; key <= 9 && written < lines; ++key, ++written)
            text += u"key%1=значение %1 раздела %2\r\n"_s.arg(key).arg(section);
    }
    return AnsiText::encode(text);
}

void iniFile(const QString &dir, int lines)
{
    const QString path = dir + u"/values%1.ini"_s.arg(lines);
    const QByteArray bytes = iniText(lines);
    writeFile(path, bytes);
    // The last section: a read has to pass every line before it.
    const QString section = u"section%1"_s.arg((lines + 9) / 10);
    report(u"one INI value read"_s, u"%1 lines"_s.arg(lines), u"reading the bytes"_s,
           measure([&] { g_sink = GetValueString(section, u"key5"_s, path).size(); },
                   [&] { g_sink = readFile(path).size(); }));
    int turn = 0;
    report(u"one INI value written"_s, u"%1 lines"_s.arg(lines), u"one safe rewrite"_s,
           measure([&] { SetValue(section, u"key5"_s, QString::number(++turn % 2), path); },
                   [&] { safeRewrite(path, readFile(path)); }));
}

void settings(const QString &dir)
{
    const QString path = dir + u"/test.ini"_s;
    writeFile(path, AnsiText::encode(u"[test]\r\nbilet=25\r\nvopros=5\r\nball=4\r\ntime=20\r\npass=секрет\r\n"
                                      "l=400\r\nh=300\r\nk=2\r\nre=rus\r\nz=/home/экзамены/b/Физика\r\n"
                                      "[reg]\r\nreg=1\r\n"_s));
    SettingsRecord record;
    report(u"settings load"_s, u"test.ini"_s, u"reading the bytes"_s,
           measure([&] { record.load(path); }, [&] { g_sink = readFile(path).size(); }));
    report(u"settings save"_s, u"test.ini"_s, u"one safe rewrite"_s,
           measure([&] { record.save(path); }, [&] { safeRewrite(path, readFile(path)); }));
}

void questionnaire(const QString &dir, int questions)
{
    const QString name = u"q%1"_s.arg(questions);
    const QString folder = dir + u"/t/"_s + name;
    const QString file = folder + u'/' + name + u".tst"_s;
    QString text = u"[v]\r\nt="_s + name + u"\r\nt1=10\r\nt2=20\r\nt3=30\r\n"_s;
    for (int n = 1; n <= questions; ++n) {
        text += u"[%1]\r\n"_s.arg(n);
        for (int slot = 1; slot <= 5; ++slot)
            text += u"q%1=Ответ %1 на вопрос %2\r\n"_s.arg(slot).arg(n);
        for (int slot = 1; slot <= 5; ++slot)
            text += u"b%1=%1\r\n"_s.arg(slot);
    }
    writeFile(file, AnsiText::encode(text));
    const QString number = QString::number(questions / 2);
    const QString questionFile = folder + u'/' + QuestionnaireFile::questionFileName(number);
    writeFile(questionFile, AnsiText::encode(u"Текст вопроса\r\n"_s));

    // What the questionnaire window reads to show a question: the name, the answers and
    // points, the bounds, and the question text.
    report(u"questionnaire question shown"_s, u"%1 questions"_s.arg(questions), u"reading the bytes"_s,
           measure(
               [&] {
                   const IniFile read(file);
                   g_sink = QuestionnaireFile::readHeader(read).name.size();
                   g_sink = QuestionnaireFile::readAnswers(read, number).texts[0].size();
                   g_sink = QuestionnaireFile::readHeader(read).bounds[0].size();
                   g_sink = QuestionnaireFile::readText(questionFile).size();
               },
               [&] { g_sink = readFile(file).size() + readFile(questionFile).size(); }));

    QuestionnaireFile::Answers answers;
    for (int slot = 0; slot < 5; ++slot) {
        answers.texts[slot] = u"Новый ответ %1"_s.arg(slot);
        answers.points[slot] = QString::number(slot);
    }
    int turn = 0;
    report(u"questionnaire question saved"_s, u"%1 questions"_s.arg(questions),
           u"read + one safe rewrite"_s,
           measure(
               [&] {
                   answers.points[0] = QString::number(++turn % 2);
                   QuestionnaireFile::writeText(questionFile, u"Текст вопроса"_s);
                   QuestionnaireFile::writeAnswers(file, number, answers);
               },
               [&] {
                   safeRewrite(questionFile, readFile(questionFile));
                   safeRewrite(file, readFile(file));
               }));
}

void reportAppend(const QString &dir, qint64 bytes)
{
    const QString program = dir + u"/report%1"_s.arg(bytes);
    const QString path = program + u"/"_s + ProgramPaths::examReportName();
    const QByteArray line = AnsiText::encode(u"Первый вопрос, оценка  5\r\r\n"_s);
    QByteArray content;
    content.reserve(bytes);
    while (content.size() < bytes)
        content += line;
    writeFile(path, content);
    ExamRecord record;
    record.language = u"rus"_s;
    record.date = u"08.12.2026"_s;
    record.time = u"10:30:15"_s;
    record.student = u"Иванов Иван"_s;
    record.ticket = u"Билет № b7"_s;
    for (int n = 1; n <= ExamReport::Questions; ++n)
        record.marks << (n <= 5 ? u"5"_s : u"0"_s);
    record.verdict = Verdict::Passed;
    const QByteArray recordBytes = AnsiText::encode(ExamReport::recordText(record));
    const QString floorPath = program + u"/floor.txt"_s;
    writeFile(floorPath, content);
    report(u"report append"_s, u"%1 MB"_s.arg(bytes >> 20), u"appending the bytes"_s,
           measure([&] { ExamReport::append(program, record); },
                   [&] {
                       QFile file(floorPath);
                       if (file.open(QIODevice::WriteOnly | QIODevice::Append))
                           g_sink = file.write(recordBytes);
                   }));
}

// An exam folder of the given tickets; only b1 holds questions, as the count reads only it.
QString examFolder(const QString &dir, int tickets)
{
    const QString exam = dir + u"/b/exam%1"_s.arg(tickets);
    writeFile(exam + u"/lzm.lzm"_s, AnsiText::encode(u"Экзамен\r\n"_s));
    for (int t = 1; t <= tickets; ++t)
        QDir().mkpath(exam + u"/b%1"_s.arg(t));
    for (int n = 1; n <= 5; ++n) {
        writeFile(exam + u"/b1/q%1.txt"_s.arg(n), "?\r\n");
        writeFile(exam + u"/b1/v%1.txt"_s.arg(n), "1\r\n2\r\n");
        writeFile(exam + u"/b1/o%1.txt"_s.arg(n), "1\r\n");
    }
    return exam;
}

template <class Control>
Control *child(QWidget *window, const char *name)
{
    return window->findChild<Control *>(QString::fromLatin1(name));
}

void chooser(Application &app, const QString &dir, int tickets)
{
    const QString exam = examFolder(dir, tickets);
    app.openExamChooser(exam);
    ExamChooserWindow *window = app.examChooser();
    QLineEdit *folderBox = child<QLineEdit>(window, "Text1");
    QPushButton *accept = child<QPushButton>(window, "Command1");
    folderBox->setText(exam);
    report(u"chooser count (\"Принять\")"_s, u"%1 tickets"_s.arg(tickets), u"listing the folder"_s,
           measure([&] { accept->click(); }, [&] { g_sink = listFolder(exam); }));
    // One keystroke that makes the box name the exam folder.
    report(u"chooser folder box keystroke"_s, u"%1 tickets"_s.arg(tickets), u"listing the folder"_s,
           measure([&] { folderBox->setText(exam); }, [&] { g_sink = listFolder(exam); },
                   [&] { folderBox->setText(exam + u"/b"_s); }));
    app.closeExamChooser();
}

void ticketMove(Application &app, const QString &dir)
{
    const QString exam = dir + u"/b/long"_s;
    writeFile(exam + u"/lzm.lzm"_s, "long\r\n");
    for (int n = 1; n <= 2; ++n) {
        writeFile(exam + u"/b1/q%1.txt"_s.arg(n), AnsiText::encode(u"Вопрос\r\n"_s));
        writeFile(exam + u"/b1/o%1.txt"_s.arg(n), AnsiText::encode(u"Ответ 1\r\n"_s));
    }
    writeFile(exam + u"/b1/v1.txt"_s, AnsiText::encode(u"Ответ 1\r\nОтвет 2\r\n"_s));
    QString answers;
    for (int i = 0; i < 10000; ++i)
        answers += u"Ответ %1: один из длинного списка вариантов\r\n"_s.arg(i);
    const QString answersPath = exam + u"/b1/v2.txt"_s;
    writeFile(answersPath, AnsiText::encode(answers));
    app.settings().setExamFolder(exam);
    app.settings().setQuestions(u"2"_s);

    std::unique_ptr<TicketSession> session;
    std::unique_ptr<TicketWindow> window;
    QRadioButton *second = nullptr;
    // Each run takes a new ticket and answers question 1; the time is the move to question 2
    // until the window has painted it.
    const auto prepare = [&] {
        window.reset();
        session = std::make_unique<TicketSession>(
            app.paths(), app.settings().language(),
            TicketSession::drawn(app.settings(), Student(), u"1"_s, u"b1"_s, u"long"_s), TicketSession::Origin::Drawn);
        window = std::make_unique<TicketWindow>(app.context(), *session);
        window->load();
        window->show();
        QApplication::processEvents();
        auto *list = child<QListView>(window.get(), "List1");
        list->setCurrentIndex(list->model()->index(0, 0));
        child<QPushButton>(window.get(), "Command3")->click();
        second = child<QRadioButton>(window.get(), "Option2");
        QApplication::processEvents();
    };
    report(u"ticket: move to a question, shown"_s, u"10000 lines"_s, u"reading the bytes"_s,
           measure(
               [&] {
                   second->setChecked(true);
                   window->repaint();
               },
               [&] { g_sink = readFile(answersPath).size(); }, prepare));
    // The list's horizontal extent is the widest answer; the window measures a long list in
    // slices between events. This run lasts until the extent is complete.
    const QFontMetrics metrics(window->font());
    int widest = 0;
    for (const QString &line : AnsiText::splitLines(answers))
        widest = std::max(widest, metrics.horizontalAdvance(line + u' '));
    report(u"ticket: move to a question, extent complete"_s, u"10000 lines"_s, u"reading the bytes"_s,
           measure(
               [&] {
                   second->setChecked(true);
                   window->repaint();
                   const QAbstractItemModel *answers = child<QListView>(window.get(), "List1")->model();
                   while (answers->index(0, 0).data(Qt::SizeHintRole).toSize().width() < widest)
                       QApplication::processEvents();
               },
               [&] { g_sink = readFile(answersPath).size(); }, prepare));
    window.reset();
}

void encoding()
{
    QString plain;
    while (plain.size() < 100000)
        plain += u"Съешь же ещё этих мягких французских булок, да выпей чаю. "_s;
    plain.truncate(100000);
    QString odd = plain;
    odd[odd.size() / 2] = QChar(0x4E2D); // a character Windows-1251 cannot hold
    report(u"encoding 100000 characters, one unencodable"_s, u"100000 chars"_s, u"encoding without it"_s,
           measure([&] { g_sink = AnsiText::encode(odd).size(); }, [&] { g_sink = AnsiText::encode(plain).size(); }));
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qtApp(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    QDir(dir.path()).mkpath(u"b"_s);
    QDir(dir.path()).mkpath(u"s"_s);
    QDir(dir.path()).mkpath(u"t"_s);
    writeFile(dir.path() + u"/test.ini"_s, "[test]\r\nre=rus\r\n");
    TestPlatform platform;
    Application app(platform, dir.path());
    app.start();

    for (int i = 1; i < argc; ++i)
        g_only << QString::fromLocal8Bit(argv[i]);
    const QString d = dir.path();

    std::printf("%-44s %14s %11s %11s %9s  %s\n", "case", "size", "program ms", "floor ms", "ratio",
                "floor (median of interleaved pairs)");
    if (selected(u"answers"_s)) {
        answersFile(d, 10000);
        answersFile(d, 1000000);
        growth(u"answers file to list entries"_s, 100);
    }
    if (selected(u"INI"_s)) {
        iniFile(d, 10000);
        iniFile(d, 100000);
        growth(u"one INI value read"_s, 10);
        growth(u"one INI value written"_s, 10);
    }
    if (selected(u"settings"_s))
        settings(d);
    if (selected(u"questionnaire"_s)) {
        questionnaire(d, 100);
        questionnaire(d, 1000);
        growth(u"questionnaire question shown"_s, 10);
        growth(u"questionnaire question saved"_s, 10);
    }
    if (selected(u"report"_s)) {
        reportAppend(d, qint64(1) << 20);
        reportAppend(d, qint64(100) << 20);
        growth(u"report append"_s, 100);
    }
    if (selected(u"chooser"_s)) {
        chooser(app, d, 1000);
        chooser(app, d, 10000);
        growth(u"chooser count (\"Принять\")"_s, 10);
        growth(u"chooser folder box keystroke"_s, 10);
    }
    if (selected(u"ticket"_s))
        ticketMove(app, d);
    if (selected(u"encoding"_s))
        encoding();
    return 0;
}
