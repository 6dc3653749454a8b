#include "gui/common/window_context.h"

#include "gui/common/captions.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

void WindowContext::message(const QString &title, const QString &text, MessageIcon icon) const
{
    if (!text.isEmpty())
        m_platform.messageBox(title, text, icon);
}

void WindowContext::sayIfNotSaved(const SettingsRecord::SaveResult &result, const QString &language) const
{
    if (!result)
        message(ProgramTitle, SettingsRecord::saveFailureText(m_paths.settingsFile(), result, language),
                MessageIcon::Critical);
}

void WindowContext::openHelp(const QString &language, HelpOpening opening) const
{
    const LanguagePolicy policy(language);
    const QString document = m_paths.helpDocument(language);
    const auto fail = [&](const QString &russian, const QString &english) {
        if (opening == HelpOpening::ByItself && m_helpFailureSaid)
            return;
        m_helpFailureSaid = true;
        m_platform.messageBox(ProgramTitle, policy.text(russian, english).arg(QDir::toNativeSeparators(document)),
                              MessageIcon::Warning);
    };
    if (!QFileInfo::exists(document)) {
        fail(u"Руководство не найдено: нет файла %1"_s, u"The guide is missing: there is no file %1"_s);
        return;
    }
    const bool guide = document.endsWith(u".html"_s);
    if (guide && m_documents) {
        m_documents->showGuide(document, language);
        return;
    }
    if (!m_platform.openDocument(document))
        fail(u"Нет программы, которая открывает файл %1"_s, u"No program on this computer opens the file %1"_s);
}

bool WindowContext::openText(const QString &path, const QString &language) const
{
    const LanguagePolicy policy(language);
    if (m_documents) {
        const QString failure = m_documents->showText(path, language);
        if (failure.isEmpty())
            return true;
        m_platform.messageBox(ProgramTitle, failure, MessageIcon::Warning);
        return false;
    }
    if (m_platform.openDocument(path))
        return true;
    m_platform.messageBox(ProgramTitle,
                          policy.text(u"Нет программы, которая открывает файл %1"_s,
                                      u"No program on this computer opens the file %1"_s)
                              .arg(QDir::toNativeSeparators(path)),
                          MessageIcon::Warning);
    return false;
}
