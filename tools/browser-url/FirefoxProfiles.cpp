#include "FirefoxProfiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

FirefoxProfiles::FirefoxProfiles(QStringList roots)
    : m_roots(std::move(roots))
{}

QStringList FirefoxProfiles::profileFolders(const QString& root)
{
    // The defaults first (installs.ini, an [Install...] section, Default=1), then the rest.
    QStringList defaults;
    QStringList others;
    auto add = [&](QStringList& list, const QString& path, bool relative) {
        if (!path.isEmpty())
            list.append(relative ? root + QLatin1Char('/') + path : path);
    };
    for (const char* name : {"installs.ini", "profiles.ini"}) {
        QFile ini(root + QLatin1Char('/') + QLatin1String(name));
        if (!ini.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        QString section;
        QString path;
        bool relative = true;
        bool isDefault = false;
        auto flush = [&] {
            if (section.startsWith(QLatin1String("Profile")))
                add(isDefault ? defaults : others, path, relative);
            path.clear();
            relative = true;
            isDefault = false;
        };
        while (!ini.atEnd()) {
            const QString line = QString::fromUtf8(ini.readLine()).trimmed();
            if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
                flush();
                section = line.mid(1, line.size() - 2);
                continue;
            }
            const qsizetype equals = line.indexOf(QLatin1Char('='));
            if (equals < 0)
                continue;
            const QString key = line.left(equals);
            const QString value = line.mid(equals + 1);
            // installs.ini sections are install hashes; profiles.ini's are Install<hash>.
            if (key == QLatin1String("Default") && !section.startsWith(QLatin1String("Profile")))
                add(defaults, value, true);
            else if (key == QLatin1String("Default"))
                isDefault = value == QLatin1String("1");
            else if (key == QLatin1String("Path"))
                path = value;
            else if (key == QLatin1String("IsRelative"))
                relative = value != QLatin1String("0");
        }
        flush();
    }
    QStringList all = defaults + others;
    all.removeDuplicates();
    return all;
}

QString FirefoxProfiles::recoveryFile(QString& error) const
{
    // Several profiles may have a session file (another install's, one left by a crash): the
    // one in use rewrites its own every few seconds, so the newest wins; a tie goes to the
    // default, listed first.
    QString newest;
    QDateTime newestTime;
    QStringList searched;
    for (const QString& root : m_roots) {
        if (!QFileInfo(root).isDir())
            continue;
        searched.append(root);
        for (const QString& profile : profileFolders(root)) {
            const QFileInfo file(profile +
                                 QStringLiteral("/sessionstore-backups/recovery.jsonlz4"));
            if (!file.isFile())
                continue;
            const QDateTime modified = file.lastModified();
            if (newest.isEmpty() || modified > newestTime) {
                newest = file.filePath();
                newestTime = modified;
            }
        }
    }
    if (newest.isEmpty())
        error = searched.isEmpty() ? QStringLiteral("no Firefox profile folder (looked for %1)")
                                         .arg(m_roots.join(QStringLiteral(", ")))
                                   : QStringLiteral("no Firefox profile in %1 has a session file "
                                                    "(sessionstore-backups/recovery.jsonlz4)")
                                         .arg(searched.join(QStringLiteral(", ")));
    return newest;
}
