#include "results/results_module.h"

#include <QDir>
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
        const QString file = QDir::toNativeSeparators(QDir(folder).filePath(QString::fromUtf16(ResultsModuleName)));
        *error = file + QStringLiteral(": ") + (instance ? QStringLiteral("not the results module") : loader->errorString());
    }
    return module;
}
