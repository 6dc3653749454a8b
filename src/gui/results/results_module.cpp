#include "gui/results/results_module.h"

#include <QDir>
#include <QFileInfo>
#include <QPluginLoader>

ResultsModule *loadResultsModule(const QString &folder, QString *error)
{
    // One loader per folder asked for: the program asks for one; tests ask for a folder
    // without the module too.
    static QHash<QString, QPluginLoader *> loaders;
    QPluginLoader *&loader = loaders[folder];
    if (!loader)
        loader = new QPluginLoader(QDir(folder).filePath(QString::fromUtf16(ResultsModuleName)));
    QObject *instance = loader->instance();
    auto *module = qobject_cast<ResultsModule *>(instance);
    if (!module && error) {
        QString file = QFileInfo(loader->fileName()).fileName();
        if (file.isEmpty()) // not found: the name the build gives it
            file = QStringLiteral("lib%1.so").arg(QString::fromUtf16(ResultsModuleName));
        *error = QDir::toNativeSeparators(QDir(folder).filePath(file)) + QStringLiteral(": ")
                 + (instance ? QStringLiteral("not the results module") : loader->errorString());
    }
    return module;
}
