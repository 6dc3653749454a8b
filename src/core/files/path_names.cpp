#include "core/files/path_names.h"

#include "core/files/ansi_text.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace PathNames {

namespace {

const QString Forbidden = u"\\/:*?\"<>|"_s;

bool isForbidden(char32_t c)
{
    return c < 0x80 && Forbidden.contains(QChar(c));
}

bool isControl(char32_t c)
{
    return c < 0x20 || c == 0x7f;
}

bool fits(char32_t c)
{
    return fitsWindows1251(QString::fromUcs4(&c, 1));
}

// The first character of the name for which the test holds; nothing when there is none.
template<typename Test>
QString firstWhere(const QString &name, Test test)
{
    for (const char32_t c : name.toUcs4()) {
        if (test(c))
            return QString::fromUcs4(&c, 1);
    }
    return QString();
}

bool isReservedDevice(const QString &name)
{
    // Windows takes the part before the first dot, without its trailing blanks, as the device.
    const qsizetype dot = name.indexOf(u'.');
    QString base = dot < 0 ? name : name.left(dot);
    while (base.endsWith(u' '))
        base.chop(1);
    base = base.toUpper();
    static const QStringList plain{u"CON"_s, u"PRN"_s, u"AUX"_s, u"NUL"_s};
    if (plain.contains(base))
        return true;
    return base.size() == 4 && (base.startsWith("COM"_L1) || base.startsWith("LPT"_L1))
           && base.at(3) >= u'1' && base.at(3) <= u'9';
}

} // namespace

bool fitsWindows1251(const QString &text)
{
    return AnsiText::decode(AnsiText::encode(text)) == text;
}

Problem problem(const QString &name)
{
    if (name.isEmpty())
        return Problem::Empty;
    if (!fitsWindows1251(name))
        return Problem::NotWindows1251;
    if (!firstWhere(name, isControl).isEmpty())
        return Problem::ControlCharacter;
    if (!firstWhere(name, isForbidden).isEmpty())
        return Problem::ForbiddenCharacter;
    if (name.startsWith(u' ') || name.endsWith(u' '))
        return Problem::EdgeBlank;
    if (name.endsWith(u'.'))
        return Problem::TrailingDot;
    if (isReservedDevice(name))
        return Problem::ReservedDevice;
    // Every character of Windows-1251 is one UTF-16 unit, so the size counts characters.
    if (name.size() > MaxLength)
        return Problem::TooLong;
    return Problem::None;
}

Refusal refusal(const QString &name, Problem problem)
{
    Refusal why;
    switch (problem) {
    case Problem::None:
        return why;
    case Problem::Empty:
        why = {u"имя не введено"_s, u"no name is typed"_s};
        break;
    case Problem::NotWindows1251: {
        const QString c = firstWhere(name, [](char32_t ch) { return !fits(ch); });
        why = {u"знака «"_s + c + u"» нет в кодировке Windows-1251, он не сохранится"_s,
               u"the character \""_s + c + u"\" is not in Windows-1251 and would not be kept"_s};
        break;
    }
    case Problem::ControlCharacter:
        why = {u"в нём есть управляющий знак (табуляция, перевод строки)"_s,
               u"it holds a control character (a tab or a line break)"_s};
        break;
    case Problem::ForbiddenCharacter: {
        const QString c = firstWhere(name, isForbidden);
        why = {u"в нём есть знак «"_s + c + u"», а знаки \\ / : * ? \" < > | в имени недопустимы"_s,
               u"it holds \""_s + c + u"\", and none of \\ / : * ? \" < > | may stand in a name"_s};
        break;
    }
    case Problem::EdgeBlank:
        why = {u"оно начинается или кончается пробелом"_s, u"it begins or ends with a blank"_s};
        break;
    case Problem::TrailingDot:
        why = {u"оно кончается точкой"_s, u"it ends with a dot"_s};
        break;
    case Problem::ReservedDevice:
        why = {u"это имя устройства Windows (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9)"_s,
               u"it is a device name of Windows (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9)"_s};
        break;
    case Problem::TooLong:
        why = {u"оно длиннее "_s + QString::number(MaxLength) + u" знаков"_s,
               u"it is longer than "_s + QString::number(MaxLength) + u" characters"_s};
        break;
    }
    return {u"Такое имя нельзя дать файлу или папке: "_s + why.russian + u'.',
            u"This name cannot be given to a file or folder: "_s + why.english + u'.'};
}

bool isQuestionNumber(const QString &text)
{
    if (text.isEmpty() || text.size() > 5 || text.front() == u'0')
        return false;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return text.toInt() <= MaxQuestionNumber;
}

} // namespace PathNames
