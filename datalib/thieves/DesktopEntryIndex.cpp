#include "thieves/DesktopEntryIndex.h"

#include <QDir>
#include <QStandardPaths>

namespace {

// The program an Exec line runs: its first word, without quotes or folders.
QString executableOf(const QString& exec)
{
    QString first = exec.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
    if (first.size() > 1 && first.startsWith(QLatin1Char('"')) && first.endsWith(QLatin1Char('"')))
        first = first.mid(1, first.size() - 2);
    return first.section(QLatin1Char('/'), -1).toLower();
}

void insertOnce(QHash<QString, int>& map, const QString& key, int index)
{
    if (!key.isEmpty() && !map.contains(key))
        map.insert(key, index);
}

} // namespace

std::optional<DesktopEntry> DesktopEntryIndex::match(const QString& className,
                                                     const QString& instance,
                                                     const QString& executable)
{
    const auto now = std::chrono::steady_clock::now();
    if (!m_loadedAt)
        load();
    std::optional<DesktopEntry> found = find(className, instance, executable);
    if (!found && now - *m_loadedAt > std::chrono::minutes(1)) {
        load();
        found = find(className, instance, executable);
    }
    return found;
}

const QList<DesktopEntry>& DesktopEntryIndex::installed()
{
    if (!m_loadedAt)
        load();
    return m_entries;
}

void DesktopEntryIndex::load()
{
    m_loadedAt = std::chrono::steady_clock::now();
    m_entries.clear();
    m_byWmClass.clear();
    m_byId.clear();
    m_byIdTail.clear();
    m_byExecutable.clear();
    QSet<QString> seenIds;
    // $XDG_DATA_HOME first: an entry there hides the system's entry of the same id.
    for (const QString& folder :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        const QDir applications(folder + QStringLiteral("/applications"));
        const QStringList files =
            applications.entryList({QStringLiteral("*.desktop")}, QDir::Files, QDir::Name);
        for (const QString& file : files) {
            const QString id = file.chopped(8);
            if (seenIds.contains(id))
                continue;
            seenIds.insert(id);
            QString error;
            std::optional<DesktopEntry> entry =
                DesktopEntry::read(id, applications.filePath(file), error);
            if (!entry)
                continue;
            const int index = static_cast<int>(m_entries.size());
            m_entries.append(*entry);
            if (entry->startupWmClass)
                insertOnce(m_byWmClass, entry->startupWmClass->toLower(), index);
            insertOnce(m_byId, id.toLower(), index);
            if (id.contains(QLatin1Char('.')))
                insertOnce(m_byIdTail, id.section(QLatin1Char('.'), -1).toLower(), index);
            if (entry->exec)
                insertOnce(m_byExecutable, executableOf(*entry->exec), index);
        }
    }
}

std::optional<DesktopEntry> DesktopEntryIndex::find(const QString& className,
                                                    const QString& instance,
                                                    const QString& executable) const
{
    const QString keys[] = {className.toLower(), instance.toLower()};
    for (const QHash<QString, int>* map : {&m_byWmClass, &m_byId, &m_byIdTail}) {
        for (const QString& key : keys) {
            if (key.isEmpty())
                continue;
            const auto found = map->constFind(key);
            if (found != map->constEnd())
                return m_entries.at(*found);
        }
    }
    if (!executable.isEmpty()) {
        const auto found = m_byExecutable.constFind(executable.toLower());
        if (found != m_byExecutable.constEnd())
            return m_entries.at(*found);
    }
    return std::nullopt;
}
