#include "gui/common/window_context.h"

#include "gui/common/captions.h"

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

void WindowContext::openHelp(const QString &language) const
{
    m_platform.openDocument(m_paths.helpDocument(language));
}
