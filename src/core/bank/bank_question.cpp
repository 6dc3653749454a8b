#include "core/bank/bank_question.h"

#include "core/files/path_names.h"
#include "core/program/language_policy.h"

#include <QSet>

using namespace Qt::StringLiterals;

QString refusalText(BankRefusal refusal, const LanguagePolicy &language)
{
    switch (refusal) {
    case BankRefusal::None:
        return QString();
    case BankRefusal::NotSingleChoice:
        return language.text(u"не вопрос с одним правильным ответом"_s, u"not a question with one right answer"_s);
    case BankRefusal::NoRightAnswer:
        return language.text(u"нет правильного ответа"_s, u"no right answer"_s);
    case BankRefusal::SameAnswerText:
        return language.text(u"два ответа с одинаковым текстом"_s, u"two answers with the same text"_s);
    case BankRefusal::NotWindows1251:
        return language.text(u"символы, которых нет в кодировке Windows-1251"_s,
                             u"characters that Windows-1251 cannot hold"_s);
    case BankRefusal::AnswerOverLine:
        return language.text(u"ответ длиннее одной строки"_s, u"an answer longer than one line"_s);
    case BankRefusal::UnreadablePicture:
        return language.text(u"картинку не удалось прочитать"_s, u"the picture cannot be read"_s);
    case BankRefusal::Damaged:
        return language.text(u"запись вопроса нарушает правила формата"_s,
                             u"the question's record breaks the rules of its format"_s);
    }
    return QString();
}

void BankQuestion::check()
{
    if (!isTaken())
        return;
    for (const QString &answer : std::as_const(answers)) {
        if (answer.contains(u'\n')) {
            refusal = BankRefusal::AnswerOverLine;
            return;
        }
    }
    if (QSet<QString>(answers.cbegin(), answers.cend()).size() != answers.size()) {
        refusal = BankRefusal::SameAnswerText;
        return;
    }
    if (!PathNames::fitsWindows1251(text) || !PathNames::fitsWindows1251(answers.join(u'\n')))
        refusal = BankRefusal::NotWindows1251;
}
