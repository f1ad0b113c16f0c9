#include "services/StartupHooks.h"

#include "settings/Settings.h"
#include "store/DataController.h"

StartupHooks::StartupHooks(DataController& store, Thieves thieves)
    : m_store(store)
    , m_thieves(std::move(thieves))
{}

void StartupHooks::runAtLaunch()
{
    Settings& settings = Settings::shared();
    if (!settings.boolValue(QLatin1String(Settings::MigratedToTaskInfo))) {
        m_store.migrateToTaskInfo();
        settings.setBool(QLatin1String(Settings::MigratedToTaskInfo), true);
    }

    m_store.deletePrevoiusWeekWorkActivity();
    // Left unset when the list could not be imported, so the next start tries again.
    if (!settings.boolValue(QLatin1String(Settings::ThievesImported)) && m_store.loadThieves())
        settings.setBool(QLatin1String(Settings::ThievesImported), true);
    if (settings.boolValue(QLatin1String(Settings::ThievesOnboardingNotDone))) {
        if (m_thieves.showOnboarding)
            m_thieves.showOnboarding();
    } else if (settings.boolValue(QLatin1String(Settings::ThievesScanAllowByUser)) &&
               m_thieves.startScan) {
        m_thieves.startScan();
    }
}

void StartupHooks::runBeforeQuit()
{
    if (m_thieves.saveBeforeTerminate)
        m_thieves.saveBeforeTerminate();
}
