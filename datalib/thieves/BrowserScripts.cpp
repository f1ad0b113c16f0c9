#include "thieves/BrowserScripts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

BrowserScriptRunner::~BrowserScriptRunner() = default;

BrowserScripts::BrowserScripts(QStringList folders, int timeLimitMs)
    : m_folders(std::move(folders))
    , m_timeLimitMs(timeLimitMs)
{}

QStringList BrowserScripts::defaultFolders()
{
    QStringList folders = {QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                           QStringLiteral("/Zestra/browser-scripts")};
    // Relative to the program first: that is the build tree's folder when it runs from there,
    // and the installed one when the installation moved to another prefix.
    if (QCoreApplication::instance())
        folders.append(QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                       QStringLiteral("/" ZESTRA_BROWSER_SCRIPTS_FROM_PROGRAM)));
    folders.append(QStringLiteral(ZESTRA_BROWSER_SCRIPTS_DIR));
    folders.removeDuplicates();
    return folders;
}

QString BrowserScripts::scriptFor(const QString& desktopId) const
{
    // An id is a file name, never a path.
    if (desktopId.isEmpty() || desktopId.contains(QLatin1Char('/')) ||
        desktopId.startsWith(QLatin1Char('.')))
        return QString();
    for (const QString& folder : m_folders) {
        const QFileInfo script(folder + QLatin1Char('/') + desktopId);
        if (script.isFile() && script.isExecutable())
            return script.filePath();
    }
    return QString();
}

PageAddress BrowserScripts::pageAddress(const QString& desktopId)
{
    const QString script = scriptFor(desktopId);
    if (script.isEmpty())
        return {PageAddress::Outcome::noScript, QString()};

    QProcess process;
    process.setProgram(script);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(QIODevice::ReadOnly);
    if (!process.waitForStarted(m_timeLimitMs))
        return {PageAddress::Outcome::error,
                QStringLiteral("%1 did not start: %2").arg(script, process.errorString())};
    if (!process.waitForFinished(m_timeLimitMs)) {
        process.kill();
        process.waitForFinished(-1);
        return {PageAddress::Outcome::error,
                QStringLiteral("%1 gave no answer within %2 ms").arg(script).arg(m_timeLimitMs)};
    }
    const QString errors = QString::fromUtf8(process.readAllStandardError()).trimmed();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0 ||
        !errors.isEmpty())
        return {PageAddress::Outcome::error, QStringLiteral("%1 failed (exit %2): %3")
                                                 .arg(script)
                                                 .arg(process.exitCode())
                                                 .arg(errors)};
    return {PageAddress::Outcome::address,
            QString::fromUtf8(process.readAllStandardOutput()).trimmed()};
}
