#include "core/reports/item_analysis.h"

#include "core/reports/results_texts.h"

#include <QHash>
#include <QMap>

#include <algorithm>
#include <cmath>
#include <numeric>

using namespace Qt::StringLiterals;

namespace {

// One question of one sitting.
struct Item
{
    int number = 0;
    bool right = false;
    bool answered = false;
    QString chosen;
    QStringList offered;
    QString correct;
    QString text;
};

struct Sitting
{
    QList<Item> items;
    std::optional<double> grade;
    bool passed = false;

    int total() const
    {
        return int(std::count_if(items.begin(), items.end(), [](const Item &item) { return item.right; }));
    }
    const Item *item(int number) const
    {
        for (const Item &item : items) {
            if (item.number == number)
                return &item;
        }
        return nullptr;
    }
};

Sitting sittingOf(const TicketResult &result, const QList<Attempt> &attempts)
{
    Sitting sitting;
    sitting.passed = result.verdictKind == RecordedVerdict::Passed;
    if (result.attempt >= 0 && result.attempt < attempts.size()) {
        const Attempt &attempt = attempts[result.attempt];
        for (const Attempt::Question &question : attempt.questions) {
            Item item;
            item.number = question.number;
            item.right = question.mark == u"5"_s;
            item.answered = question.mark == u"5"_s || question.mark == u"2"_s;
            item.chosen = item.answered ? question.chosen : QString();
            item.offered = question.offered;
            item.correct = question.correct;
            item.text = question.text;
            sitting.items << item;
        }
        bool ok = false;
        const double grade = QString(attempt.grade).replace(u',', u'.').toDouble(&ok);
        if (ok)
            sitting.grade = grade;
        return sitting;
    }
    // A record of the report alone: its marks within the ticket's questions.
    for (int n = 1; n <= result.questionCount && n <= TicketResult::Questions; ++n) {
        const TicketResult::Mark mark = result.marks[n - 1];
        if (mark == TicketResult::Unreadable)
            continue;
        Item item;
        item.number = n;
        item.right = mark == TicketResult::Right;
        item.answered = mark == TicketResult::Right || mark == TicketResult::Wrong;
        sitting.items << item;
    }
    return sitting;
}

double mean(const QList<double> &values)
{
    return std::accumulate(values.begin(), values.end(), 0.0) / double(values.size());
}

// The population variance; the correlation and KR-20 both use it.
double variance(const QList<double> &values)
{
    const double m = mean(values);
    double sum = 0.0;
    for (double value : values)
        sum += (value - m) * (value - m);
    return sum / double(values.size());
}

std::optional<double> correlation(const QList<double> &x, const QList<double> &y)
{
    if (x.size() < 2)
        return std::nullopt;
    const double vx = variance(x);
    const double vy = variance(y);
    if (vx <= 1e-12 || vy <= 1e-12)
        return std::nullopt;
    const double mx = mean(x);
    const double my = mean(y);
    double sum = 0.0;
    for (qsizetype i = 0; i < x.size(); ++i)
        sum += (x[i] - mx) * (y[i] - my);
    return sum / double(x.size()) / std::sqrt(vx * vy);
}

void analyseTicket(const QString &exam, const QString &ticket, const QList<Sitting> &sittings, ItemAnalysis &analysis)
{
    ItemAnalysis::Ticket summary;
    summary.exam = exam;
    summary.ticket = ticket;
    summary.attempts = int(sittings.size());
    QList<double> grades;
    int passed = 0;
    for (const Sitting &sitting : sittings) {
        if (sitting.grade)
            grades << *sitting.grade;
        passed += sitting.passed ? 1 : 0;
    }
    if (!grades.isEmpty())
        summary.meanGrade = mean(grades);
    summary.passRate = double(passed) / double(sittings.size());

    // The ticket's questions as its sittings had them, in number order.
    QList<int> numbers;
    for (const Sitting &sitting : sittings) {
        for (const Item &item : sitting.items) {
            if (!numbers.contains(item.number))
                numbers << item.number;
        }
    }
    std::sort(numbers.begin(), numbers.end());

    // The sittings ordered from the highest total down, for the upper and lower groups; equal
    // totals keep the order of the results.
    QList<int> order(sittings.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return sittings[a].total() > sittings[b].total(); });
    const int group = std::max(1, int(std::lround(0.27 * double(sittings.size()))));

    const bool enough = sittings.size() >= ItemAnalysis::MinimumAttempts;
    double itemVariances = 0.0;
    for (int number : std::as_const(numbers)) {
        ItemAnalysis::Question question;
        question.exam = exam;
        question.ticket = ticket;
        question.number = number;
        QList<double> marks;
        QList<double> rests;
        QString correct;
        for (const Sitting &sitting : sittings) {
            const Item *item = sitting.item(number);
            const double mark = item && item->right ? 1.0 : 0.0;
            marks << mark;
            rests << double(sitting.total()) - mark;
            if (!item)
                continue;
            ++question.attempts;
            question.right += item->right ? 1 : 0;
            question.unanswered += item->answered ? 0 : 1;
            if (!item->text.isEmpty())
                question.text = item->text;
            if (!item->correct.isEmpty())
                correct = item->correct;
            for (const QString &offered : item->offered) {
                if (std::none_of(question.options.begin(), question.options.end(),
                                 [&](const ItemAnalysis::Option &option) { return option.answer == offered; }))
                    question.options << ItemAnalysis::Option{offered, 0, false};
            }
        }
        for (const Sitting &sitting : sittings) {
            const Item *item = sitting.item(number);
            if (!item || !item->answered || item->chosen.isEmpty())
                continue;
            auto option = std::find_if(question.options.begin(), question.options.end(),
                                       [&](const ItemAnalysis::Option &o) { return o.answer == item->chosen; });
            if (option == question.options.end()) {
                question.options << ItemAnalysis::Option{item->chosen, 0, false};
                option = question.options.end() - 1;
            }
            ++option->chosen;
        }
        for (ItemAnalysis::Option &option : question.options)
            option.right = !correct.isEmpty() && option.answer == correct;

        question.facility = question.attempts ? double(question.right) / question.attempts : 0.0;
        const double p = mean(marks);
        itemVariances += p * (1.0 - p);
        question.itemRest = correlation(marks, rests);
        if (sittings.size() >= 2) {
            double upper = 0.0;
            double lower = 0.0;
            for (int i = 0; i < group; ++i) {
                upper += marks[order[i]];
                lower += marks[order[order.size() - 1 - i]];
            }
            question.upperLower = (upper - lower) / group;
        }

        if (enough) {
            if (question.facility > 0.9)
                question.flags |= ItemAnalysis::TooEasy;
            if (question.facility < 0.2)
                question.flags |= ItemAnalysis::TooHard;
            if (question.itemRest && *question.itemRest < 0.0)
                question.flags |= ItemAnalysis::NegativeDiscrimination;
            else if (question.itemRest && *question.itemRest < 0.1)
                question.flags |= ItemAnalysis::NearZeroDiscrimination;
            if (std::any_of(question.options.begin(), question.options.end(),
                            [](const ItemAnalysis::Option &option) { return !option.right && option.chosen == 0; }))
                question.flags |= ItemAnalysis::UnchosenDistractor;
        }
        analysis.questions << question;
    }

    QList<double> totals;
    for (const Sitting &sitting : sittings)
        totals << double(sitting.total());
    const qsizetype k = numbers.size();
    if (!enough) {
        summary.reliability = ItemAnalysis::Reliability::TooFewAttempts;
    } else if (k < 2) {
        summary.reliability = ItemAnalysis::Reliability::TooFewQuestions;
    } else if (variance(totals) <= 1e-12) {
        summary.reliability = ItemAnalysis::Reliability::NoSpread;
    } else {
        summary.reliability = ItemAnalysis::Reliability::Computed;
        summary.kr20 = double(k) / double(k - 1) * (1.0 - itemVariances / variance(totals));
    }
    analysis.tickets << summary;
}

} // namespace

ItemAnalysis ItemAnalysis::of(const QList<TicketResult> &results, const QList<Attempt> &attempts)
{
    // By exam, then by ticket number (tickets that are no "b" number by name).
    QMap<std::tuple<QString, int, QString>, QList<Sitting>> groups;
    for (const TicketResult &result : results) {
        if (!result.marksShown() && result.attempt < 0)
            continue;
        groups[{result.exam, result.ticketNumber, result.ticket}] << sittingOf(result, attempts);
    }
    ItemAnalysis analysis;
    for (auto group = groups.constBegin(); group != groups.constEnd(); ++group)
        analyseTicket(std::get<0>(group.key()), std::get<2>(group.key()), group.value(), analysis);
    return analysis;
}

QList<ResultsTable> ItemAnalysis::tables(const QString &language) const
{
    const auto pick = [&](const QString &russian, const QString &english) {
        return ResultsTexts::pick(language, russian, english);
    };
    const auto ticketName = [](const QString &exam, const QString &ticket) -> QString {
        return exam.isEmpty() ? ticket : exam + u" · "_s + ticket;
    };
    const auto figure = [](const std::optional<double> &value) { return value ? QVariant(*value) : QVariant(); };
    const auto percent = [](double share) { return QVariant(std::round(share * 1000.0) / 10.0); };

    ResultsTable byTicket;
    byTicket.title = pick(u"Анализ вопросов: билеты"_s, u"Item analysis: tickets"_s);
    byTicket.headers = {pick(u"Билет"_s, u"Ticket"_s), pick(u"Попыток"_s, u"Attempts"_s),
                        pick(u"Средняя оценка"_s, u"Mean grade"_s), pick(u"Доля зачетов, %"_s, u"Pass rate, %"_s),
                        pick(u"Надежность (KR-20)"_s, u"Reliability (KR-20)"_s)};
    for (const Ticket &ticket : tickets) {
        byTicket.rows << QVariantList{ticketName(ticket.exam, ticket.ticket), ticket.attempts, figure(ticket.meanGrade),
                                      percent(ticket.passRate),
                                      ticket.kr20 ? QVariant(*ticket.kr20)
                                                  : QVariant(reliabilityText(ticket.reliability, language))};
    }

    ResultsTable byQuestion;
    byQuestion.title = pick(u"Анализ вопросов: вопросы"_s, u"Item analysis: questions"_s);
    byQuestion.headers = {pick(u"Билет"_s, u"Ticket"_s), pick(u"Вопрос"_s, u"Question"_s),
                          pick(u"Попыток"_s, u"Attempts"_s), pick(u"Решаемость, %"_s, u"Facility, %"_s),
                          pick(u"Связь с остальными"_s, u"Item-rest"_s), pick(u"Индекс 27 %"_s, u"Upper-lower 27 %"_s),
                          pick(u"Без ответа, %"_s, u"Unanswered, %"_s),
                          pick(u"Выбранные ответы (✓ верный)"_s, u"Answers chosen (✓ right)"_s),
                          pick(u"Отметки"_s, u"Flags"_s)};
    for (const Question &question : questions) {
        QStringList options;
        for (const Option &option : question.options)
            options << (option.right ? u"✓ "_s : QString()) + option.answer + u": "_s + QString::number(option.chosen);
        const QString shown = QString::number(question.number)
                              + (question.text.isEmpty() ? QString() : u". "_s + question.text.simplified());
        byQuestion.rows << QVariantList{ticketName(question.exam, question.ticket), shown, question.attempts,
                                        percent(question.facility), figure(question.itemRest),
                                        figure(question.upperLower), percent(question.unansweredShare()),
                                        options.join(u"; "_s), flagsText(question.flags, language)};
    }
    return {byTicket, byQuestion};
}

QString ItemAnalysis::flagsText(int flags, const QString &language)
{
    const auto pick = [&](const QString &russian, const QString &english) {
        return ResultsTexts::pick(language, russian, english);
    };
    QStringList words;
    if (flags & TooEasy)
        words << pick(u"слишком легкий"_s, u"too easy"_s);
    if (flags & TooHard)
        words << pick(u"слишком трудный"_s, u"too hard"_s);
    if (flags & NegativeDiscrimination)
        words << pick(u"слабые отвечают лучше сильных"_s, u"weaker students do better"_s);
    if (flags & NearZeroDiscrimination)
        words << pick(u"не различает сильных и слабых"_s, u"does not discriminate"_s);
    if (flags & UnchosenDistractor)
        words << pick(u"неверный ответ, который никто не выбирает"_s, u"a wrong answer nobody chooses"_s);
    return words.join(u", "_s);
}

QString ItemAnalysis::reliabilityText(Reliability reliability, const QString &language)
{
    switch (reliability) {
    case Reliability::Computed:
        return QString();
    case Reliability::TooFewAttempts:
        return ResultsTexts::pick(language, u"мало попыток (нужно не меньше %1)"_s.arg(MinimumAttempts),
                                  u"too few attempts (at least %1 needed)"_s.arg(MinimumAttempts));
    case Reliability::TooFewQuestions:
        return ResultsTexts::pick(language, u"меньше двух вопросов"_s, u"fewer than two questions"_s);
    case Reliability::NoSpread:
        return ResultsTexts::pick(language, u"у всех одинаковый результат"_s, u"everyone scored the same"_s);
    }
    return QString();
}
