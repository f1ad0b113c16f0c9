#include "reportapi/ReportViewLoader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPluginLoader>

#include "reportapi/ReportViewPlugin.h"
#include "reportapi/WebEngineEnvironment.h"

QString ReportViewLoader::pluginFileName()
{
    return QStringLiteral(ZESTRA_REPORT_PLUGIN_FILE);
}

QStringList ReportViewLoader::candidates()
{
    const QString chosen = qEnvironmentVariable("ZESTRA_REPORT_PLUGIN");
    if (!chosen.isEmpty())
        return {chosen};
    // The build tree puts the plugin where an installation does, relative to the program.
    const QDir programDir(QCoreApplication::applicationDirPath());
    QStringList files = {
        QDir::cleanPath(programDir.filePath(QStringLiteral(ZESTRA_PLUGIN_DIR_FROM_PROGRAM "/") +
                                            pluginFileName())),
        QStringLiteral(ZESTRA_PLUGIN_INSTALL_DIR "/") + pluginFileName()};
    files.removeDuplicates();
    return files;
}

ReportViewPlugin* ReportViewLoader::plugin(QString& error)
{
    static QPluginLoader* loaded = nullptr;
    if (loaded)
        return qobject_cast<ReportViewPlugin*>(loaded->instance());

    const QStringList files = candidates();
    QString file;
    for (const QString& candidate : files) {
        if (QFileInfo(candidate).isFile()) {
            file = candidate;
            break;
        }
    }
    if (file.isEmpty()) {
        error = QStringLiteral("the report viewer plugin %1 is missing (looked in %2)")
                    .arg(pluginFileName(), files.join(QStringLiteral(", ")));
        return nullptr;
    }

    WebEngineEnvironment::prepare();
    auto* loader = new QPluginLoader(file, QCoreApplication::instance());
    loader->setLoadHints(QLibrary::ResolveAllSymbolsHint);
    auto* plugin = qobject_cast<ReportViewPlugin*>(loader->instance());
    if (!plugin) {
        error = QStringLiteral("the report viewer plugin %1 cannot be loaded: %2")
                    .arg(file, loader->errorString());
        delete loader;
        return nullptr;
    }
    loaded = loader;
    return plugin;
}
