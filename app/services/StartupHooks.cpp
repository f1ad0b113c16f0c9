#include "services/StartupHooks.h"

#include "settings/Settings.h"
#include "store/DataController.h"

StartupHooks::StartupHooks(DataController& store)
    : m_store(store)
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
}

void StartupHooks::runBeforeQuit() {}
