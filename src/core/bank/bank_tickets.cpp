#include "core/bank/bank_tickets.h"

#include "core/exam/exam_folder.h"
#include "core/files/ansi_text.h"
#include "core/files/folders.h"
#include "core/files/path_names.h"
#include "core/program/language_policy.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <numeric>

using namespace Qt::StringLiterals;

namespace BankTickets {

namespace {

// The indexes of the questions of each category, in bank order; one group of all when the
// categories do not count.
QList<QList<int>> groups(const BankQuestions &taken, bool byCategory)
{
    if (!byCategory) {
        QList<int> all(taken.size());
        std::iota(all.begin(), all.end(), 0);
        return {all};
    }
    QMap<QString, int> place;
    QList<QList<int>> found;
    for (int i = 0; i < taken.size(); ++i) {
        const auto it = place.constFind(taken.at(i).category);
        if (it == place.cend()) {
            place.insert(taken.at(i).category, int(found.size()));
            found.append(QList<int>{i});
        } else {
            found[it.value()] << i;
        }
    }
    return found;
}

// How many questions of each group ticket `ticket` takes: equal shares, the rest going to
// the groups in turn, so that over the tickets every group gets as much as the others.
QList<int> shares(int groupCount, int perTicket, int ticket)
{
    QList<int> counts(groupCount, perTicket / groupCount);
    const int rest = perTicket % groupCount;
    for (int i = 0; i < rest; ++i)
        ++counts[(ticket * rest + i) % groupCount];
    return counts;
}

} // namespace

QString problem(const BankQuestions &taken, const Plan &plan, const LanguagePolicy &language)
{
    if (plan.tickets < 1)
        return language.text(u"нужен хотя бы один билет"_s, u"at least one ticket is needed"_s);
    if (plan.questionsPerTicket < 1 || plan.questionsPerTicket > ExamFolder::MaxQuestions)
        return language.text(u"в билете может быть от 1 до %1 вопросов"_s, u"a ticket holds 1 to %1 questions"_s)
            .arg(ExamFolder::MaxQuestions);
    if (taken.size() < plan.questionsPerTicket)
        return language.text(u"вопросов, пригодных для билетов, %1, а в билете их %2"_s,
                             u"%1 questions can go into tickets, and a ticket holds %2"_s)
            .arg(taken.size())
            .arg(plan.questionsPerTicket);
    if (plan.equalCategories) {
        const QList<QList<int>> found = groups(taken, true);
        if (found.size() > plan.questionsPerTicket)
            return language.text(u"категорий %1, а вопросов в билете %2: поровну не разделить"_s,
                                 u"there are %1 categories and %2 questions per ticket: no equal share"_s)
                .arg(found.size())
                .arg(plan.questionsPerTicket);
        for (int ticket = 0; ticket < std::min(plan.tickets, int(found.size())); ++ticket) {
            const QList<int> counts = shares(int(found.size()), plan.questionsPerTicket, ticket);
            for (int group = 0; group < found.size(); ++group) {
                if (found.at(group).size() < counts.at(group)) {
                    const QString category = taken.at(found.at(group).first()).category;
                    return language.text(u"в категории «%1» %2 вопр., а билету нужно %3"_s,
                                         u"the category \"%1\" has %2 questions, and a ticket needs %3"_s)
                        .arg(category)
                        .arg(found.at(group).size())
                        .arg(counts.at(group));
                }
            }
        }
    }
    return QString();
}

Layout distribute(const BankQuestions &taken, const Plan &plan)
{
    const QList<QList<int>> found = groups(taken, plan.equalCategories);
    QRandomGenerator random(plan.seed);
    // How often each question has been used, and for the draw a random rank among equals.
    QList<int> uses(taken.size(), 0);
    // In bank order each group goes round from where its last ticket stopped.
    QList<int> next(found.size(), 0);
    Layout layout;
    for (int ticket = 0; ticket < plan.tickets; ++ticket) {
        const QList<int> counts = plan.equalCategories ? shares(int(found.size()), plan.questionsPerTicket, ticket)
                                                       : QList<int>{plan.questionsPerTicket};
        QList<int> chosen;
        for (int group = 0; group < found.size(); ++group) {
            const QList<int> &members = found.at(group);
            const int count = counts.at(group);
            if (!plan.random) {
                for (int i = 0; i < count; ++i)
                    chosen << members.at((next[group] + i) % members.size());
                next[group] = (next[group] + count) % int(members.size());
                continue;
            }
            // The least used questions first, equals in random order: the uses never differ
            // by more than one, and no question comes twice as a group is never short.
            QList<std::pair<quint32, int>> ranked;
            for (const int member : members)
                ranked.append({random.generate(), member});
            std::stable_sort(ranked.begin(), ranked.end(), [&uses](const auto &a, const auto &b) {
                return uses.at(a.second) != uses.at(b.second) ? uses.at(a.second) < uses.at(b.second)
                                                              : a.first < b.first;
            });
            for (int i = 0; i < count; ++i)
                chosen << ranked.at(i).second;
        }
        for (const int question : std::as_const(chosen))
            ++uses[question];
        if (plan.random) {
            std::shuffle(chosen.begin(), chosen.end(), random);
        } else {
            std::sort(chosen.begin(), chosen.end());
        }
        layout << chosen;
    }
    return layout;
}

namespace {

FileError systemFailure(const QString &path)
{
    return FileError::fromSystem(errno != 0 ? errno : EIO, path);
}

// A free name for a hidden folder beside the exam; hidden names are no exams and no tickets.
QString besideFolder(const QString &library, const QString &name, const QString &purpose)
{
    for (int attempt = 0;; ++attempt) {
        const QString candidate = library + u"/."_s + name + u'.' + purpose
                                  + (attempt ? QString::number(attempt) : QString());
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
}

FileError writeInto(const QString &folder, const QString &title, const BankQuestions &taken, const Layout &layout)
{
    errno = 0;
    if (!QDir().mkpath(folder))
        return systemFailure(folder);
    FileError error;
    if (!AnsiText::writeWhole(folder + u'/' + ExamFolder::titleFileName(), title + u"\r\n"_s, &error))
        return error;
    for (int ticket = 0; ticket < layout.size(); ++ticket) {
        const ExamTicket files(folder, QString::number(ticket + 1));
        const QList<int> &questions = layout.at(ticket);
        for (int n = 0; n < questions.size(); ++n) {
            const BankQuestion &question = taken.at(questions.at(n));
            error = files.saveQuestion(n + 1, question.text, question.answers.join(u'\n'), question.rightAnswer());
            if (error.isError())
                return error;
            if (!question.picture.isEmpty()) {
                error = files.savePicture(n + 1, question.picture);
                if (error.isError())
                    return error;
            }
        }
    }
    return {};
}

} // namespace

FileError writeExam(const QString &library, const QString &name, const QString &title, const BankQuestions &taken,
                    const Layout &layout)
{
    const QString exam = ExamFolder::examIn(library, name);
    if (const PathNames::Problem problem = PathNames::problem(name); problem != PathNames::Problem::None)
        return FileError(FileError::Kind::Other, exam, PathNames::refusal(name, problem).english);
    MakeDirPath(library);
    const QString fresh = besideFolder(library, name, u"new"_s);
    if (const FileError error = writeInto(fresh, title, taken, layout); error.isError()) {
        QDir(fresh).removeRecursively();
        return error;
    }
    const bool replacing = QFileInfo::exists(exam);
    const QString old = besideFolder(library, name, u"old"_s);
    errno = 0;
    if (replacing && !QDir().rename(exam, old)) {
        const FileError error = systemFailure(exam);
        QDir(fresh).removeRecursively();
        return error;
    }
    errno = 0;
    if (!QDir().rename(fresh, exam)) {
        const FileError error = systemFailure(exam);
        if (replacing)
            QDir().rename(old, exam);
        QDir(fresh).removeRecursively();
        return error;
    }
    if (replacing)
        QDir(old).removeRecursively();
    return {};
}

} // namespace BankTickets
