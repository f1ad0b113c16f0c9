#include "ChromiumSessionFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

ChromiumSessionFiles::ChromiumSessionFiles(QStringList roots)
    : m_roots(std::move(roots))
{}

QString ChromiumSessionFiles::newest(QString& error) const
{
    QFileInfo newest;
    QStringList searched;
    auto consider = [&newest](const QFileInfo& file) {
        if (file.isFile() && (!newest.exists() || file.lastModified() > newest.lastModified()))
            newest = file;
    };
    for (const QString& root : m_roots) {
        const QDir rootDir(root);
        if (!rootDir.exists())
            continue;
        searched.append(root);
        // Profiles are "Default", "Profile 1", ...; a listing is cheaper than reading the
        // JSON of "Local State" to learn their names.
        for (const QString& profile : rootDir.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            const QDir sessions(rootDir.filePath(profile) + QStringLiteral("/Sessions"));
            for (const QFileInfo& file :
                 sessions.entryInfoList({QStringLiteral("Session_*")}, QDir::Files))
                consider(file);
            consider(QFileInfo(rootDir.filePath(profile) + QStringLiteral("/Current Session")));
        }
    }
    if (!newest.exists()) {
        error = searched.isEmpty() ? QStringLiteral("no browser profile folder (looked for %1)")
                                         .arg(m_roots.join(QStringLiteral(", ")))
                                   : QStringLiteral("no session file in the profiles of %1")
                                         .arg(searched.join(QStringLiteral(", ")));
        return QString();
    }
    return newest.filePath();
}
