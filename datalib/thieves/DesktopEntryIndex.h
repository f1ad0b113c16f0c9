#pragma once

#include <chrono>
#include <optional>

#include <QHash>
#include <QList>
#include <QString>

#include "tallycore_export.h"
#include "thieves/DesktopEntry.h"

// The installed desktop entries, looked up by what a window tells about itself. Read once,
// and again (at most once a minute) when a window matches nothing, so an application
// installed while Zestra runs is found.
class TALLYCORE_EXPORT DesktopEntryIndex {
public:
    // Tried in this order, each without regard to case: an entry whose StartupWMClass is the
    // window's class or instance; an entry whose id is the class or the instance, or ends in
    // "." and one of them (org.example.Editor for "editor"); an entry whose Exec runs
    // `executable`. Absent when none matches.
    std::optional<DesktopEntry> match(const QString& className, const QString& instance,
                                      const QString& executable);
    // Every installed entry with a name, the user's own first, each folder in id order.
    const QList<DesktopEntry>& installed();

private:
    void load();
    std::optional<DesktopEntry> find(const QString& className, const QString& instance,
                                     const QString& executable) const;

    QList<DesktopEntry> m_entries;
    QHash<QString, int> m_byWmClass;
    QHash<QString, int> m_byId;
    QHash<QString, int> m_byIdTail;
    QHash<QString, int> m_byExecutable;
    std::optional<std::chrono::steady_clock::time_point> m_loadedAt;
};
