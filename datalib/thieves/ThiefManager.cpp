#include "thieves/ThiefManager.h"

#include "Console.h"
#include "store/DataController.h"
#include "thieves/ActivityScanner.h"
#include "thieves/BrowserScripts.h"
#include "thieves/FrontmostSource.h"
#include "thieves/ThiefKind.h"

ThiefManager& ThiefManager::shared()
{
    static ThiefManager manager(DataController::sharedInstance());
    return manager;
}

ThiefManager::ThiefManager(DataController& store, SourceFactory sources)
    : m_store(store)
    , m_sources(std::move(sources))
{
    buildBlackLists();
}

ThiefManager::~ThiefManager() = default;

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

void ThiefManager::startThiefScan()
{
    if (!m_scanner) {
        if (!m_source)
            m_source = m_sources();
        m_scanner = std::make_unique<ActivityScanner>(m_store, m_browserBundlesBlacklist,
                                                      std::move(m_source),
                                                      std::make_unique<BrowserScripts>());
    }
    m_scanner->start();
}

bool ThiefManager::isScanning() const
{
    return m_scanner && m_scanner->isRunning();
}

bool ThiefManager::canSeeFrontmostApplication()
{
    if (m_scanner)
        return m_scanner->canSee();
    if (!m_source)
        m_source = m_sources();
    return m_source->canSee();
}

void ThiefManager::stopThiefScan()
{
    if (m_scanner)
        m_scanner->stop();
}

void ThiefManager::saveBeforeTerminate()
{
    if (m_scanner)
        m_scanner->saveBeforeTerminate();
}
