#include "thieves/KWinWindowReport.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>

KWinWindowReport::KWinWindowReport(const QDBusConnection& bus)
{
    auto* watcher = new QDBusServiceWatcher(QStringLiteral("org.kde.KWin"), bus,
                                            QDBusServiceWatcher::WatchForUnregistration, this);
    connect(watcher, &QDBusServiceWatcher::serviceUnregistered, this, &KWinWindowReport::kwinGone);
}

std::optional<QString> KWinWindowReport::desktopFileName() const
{
    const std::lock_guard lock(m_mutex);
    return m_desktopFileName;
}

bool KWinWindowReport::isKWinGone() const
{
    const std::lock_guard lock(m_mutex);
    return m_kwinGone;
}

void KWinWindowReport::report(const QString& desktopFileName)
{
    const std::lock_guard lock(m_mutex);
    m_desktopFileName = desktopFileName;
}

void KWinWindowReport::kwinGone()
{
    const std::lock_guard lock(m_mutex);
    m_kwinGone = true;
    m_desktopFileName.reset();
}
