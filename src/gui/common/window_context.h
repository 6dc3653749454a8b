#pragma once

#include "core/platform.h"
#include "gui/common/document_viewer.h"
#include "core/program/language_policy.h"
#include "core/program/program_paths.h"
#include "core/program/settings_record.h"

#include <QString>

// What every window of the program is given: the desktop, the program folder's paths and
// the settings of the run. The application object owns it, and it outlives every window.
// A window reaches nothing else of the program through it: what it needs of another window
// comes as a model or a value, and what it asks of the program leaves it as a signal.
class WindowContext final
{
public:
    WindowContext(Platform &platform, const ProgramPaths &paths, SettingsRecord &settings)
        : m_platform(platform), m_paths(paths), m_settings(settings)
    {
    }

    Platform &platform() const { return m_platform; }
    const ProgramPaths &paths() const { return m_paths; }
    SettingsRecord &settings() const { return m_settings; }
    // The language of the settings, as captions and messages read it.
    LanguagePolicy language() const { return LanguagePolicy(m_settings.language()); }

    // A message box, unless the text is empty: a message chosen for a language that has no
    // messages shows nothing.
    void message(const QString &title, const QString &text, MessageIcon icon = MessageIcon::None) const;
    // Says in the language that a save of the settings file failed, naming the file and the
    // reason; nothing when it succeeded.
    void sayIfNotSaved(const SettingsRecord::SaveResult &result, const QString &language) const;
    // The windows that show the guide and the text files; without them (a build that has
    // none) the desktop opens the documents.
    void setDocumentViewer(DocumentViewer *viewer) { m_documents = viewer; }
    // Who opens the help: the user with "Помощь", or the program by itself at a mode choice.
    enum class HelpOpening { Asked, ByItself };
    // Opens the help in a window's language: the guide in the program's help window, a help
    // file put into the program folder with the desktop. Says why when it cannot be shown;
    // when the program opened it by itself, only the first time in a run, so a workstation
    // without its guide does not stop every student at the mode choice on the same message.
    void openHelp(const QString &language, HelpOpening opening = HelpOpening::Asked) const;
    // Shows a text file of the program (a report, plt.txt) read-only in the program's own
    // viewer, which reads Windows-1251 whatever the desktop would. False, after a message
    // that says why, when it cannot be shown.
    bool openText(const QString &path, const QString &language) const;

private:
    Platform &m_platform;
    const ProgramPaths &m_paths;
    SettingsRecord &m_settings;
    DocumentViewer *m_documents = nullptr;
    mutable bool m_helpFailureSaid = false;
};
