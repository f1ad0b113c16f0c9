#include "timer/ActivityManager.h"

#include <QFile>

#include "SoundMachine.h"
#include "settings/Settings.h"
#include "store/DataController.h"
#include "store/Localization.h"
#include "timer/DayCounts.h"

namespace {

QByteArray goalImage()
{
    QFile file(QStringLiteral(":/zestra/images/Goal-Achieve.svg"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::unique_ptr<WorkSession> makeCounter(DataController& store, const char* totalKey, int today,
                                         const char* title, const char* text)
{
    const QString key = QLatin1String(totalKey);
    auto counter = std::make_unique<WorkSession>(Settings::shared().validIntValue(key), &store);
    counter->defaultsKey = key;
    counter->setCurrentTask(today);
    counter->notificationTitle = Localization::text(title);
    counter->notificationText = Localization::text(text);
    return counter;
}

} // namespace

ActivityManager& ActivityManager::shared()
{
    static ActivityManager instance(DataController::sharedInstance());
    return instance;
}

ActivityManager::ActivityManager(DataController& store, SoundPlayer playSound)
    : m_playSound(playSound ? std::move(playSound) : SoundPlayer([](const QString& name) {
        SoundMachine::sharedInstance().play(name);
    }))
    , m_activity(std::make_unique<Activity>(store))
{
    Localization::addCatalogues(QStringLiteral(":/zestra/i18n"));
    m_session = makeCounter(store, Settings::PomodorSessionTasks, DayCounts::tasksInSessionsToday(),
                            "NOTIFICATION_SESSION_TITLE", "NOTIFICATION_SESSION_TEXT");
    m_session->isGoal = false;
    m_goal = makeCounter(store, Settings::PomodoroTodayGoal, DayCounts::tasksFinishToday(),
                         "NOTIFICATION_GOAL_TITLE", "NOTIFICATION_GOAL_TEXT");
    m_goal->notificationImage = goalImage();
    m_goal->isGoal = true;

    connect(m_session.get(), &WorkSession::sessionFinishAssigned, this,
            [this](bool value) { m_activity->setLastTaskOnSession(value); });
}

ActivityManager::~ActivityManager() = default;

void ActivityManager::playSound(const QString& name) const
{
    m_playSound(name);
}

void ActivityManager::launch()
{
    m_session->refresh();
    m_goal->refresh();
    if (Settings::shared().boolValue(QLatin1String(Settings::PomodoroStartLaunch)))
        m_activity->start();
}

void ActivityManager::taskFinished()
{
    m_session->increment();
    DayCounts::saveTasksInSessionsToday(m_session->currentTask());
    // Once the goal is reached it stays there, and the rest of the day's tasks end silently.
    if (m_goal->percent() >= 100)
        return;
    m_goal->increment();
    DayCounts::saveTasksFinishToday(m_goal->currentTask());
    if (!Settings::shared().boolValue(QLatin1String(Settings::PomodoroSoundAtEnd)))
        return;
    playSound(m_goal->percent() < 100 ? QStringLiteral("Break-Sound")
                                      : QStringLiteral("Goal-Sound"));
}

void ActivityManager::resetTimer()
{
    m_activity->reset();
}

void ActivityManager::setSessionTotal(int n)
{
    m_session->setTotal(n);
}

void ActivityManager::setGoalTotal(int n)
{
    m_goal->setTotal(n);
}
