#include "thieves/ThiefManager.h"

#include "Console.h"
#include "store/DataController.h"
#include "thieves/ThiefKind.h"

ThiefManager& ThiefManager::shared()
{
    static ThiefManager manager(DataController::sharedInstance());
    return manager;
}

ThiefManager::ThiefManager(DataController& store)
    : m_store(store)
{
    buildBlackLists();
}

void ThiefManager::buildBlackLists()
{
    const std::optional<QList<Thief>> thieves = m_store.activeThieves();
    if (!thieves || thieves->isEmpty()) {
        Console::line(QStringLiteral("No se han encontrado Ladrones de Tiempo"));
        return;
    }
    for (const Thief& thief : *thieves) {
        if (thief.kind == QLatin1String(ThiefKind::browser) && thief.identifier)
            m_browserBundlesBlacklist.append(*thief.identifier);
    }
}

bool ThiefManager::isBrowser(const QString& identifier) const
{
    return m_browserBundlesBlacklist.contains(identifier);
}
