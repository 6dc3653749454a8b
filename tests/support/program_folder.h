#pragma once

#include "app/application.h"
#include "support/test_platform.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// A temporary program folder with the application object on the test platform.
class ProgramFolder
{
public:
    ProgramFolder();
    ~ProgramFolder();

    QString path(const QString &relative = QString()) const;
    // Writes the bytes as they are, creating the folders on the way.
    void writeBytes(const QString &relative, const QByteArray &bytes) const;
    // Writes text in Windows-1251 as it is (line ends included).
    void writeText(const QString &relative, const QString &text) const;
    QByteArray readBytes(const QString &relative) const;
    // The settings file with these lines, each ended by CR LF, under [test].
    void writeSettings(const QStringList &lines) const;

    // Creates the application and its start window; reading the settings happens here. The
    // user guide is laid into help/ first, unless the folder has one.
    Application &start();
    Application &app() { return *m_app; }

    TestPlatform platform;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Application> m_app;
};

// An exam folder "exam" under b/ of the program folder with the given tickets, each with
// complete questions 1 ... questions (q, v and o files). Returns its path.
QString makeExam(const ProgramFolder &folder, const QString &title, int tickets, int questions);
