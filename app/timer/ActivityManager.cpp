#include "timer/ActivityManager.h"

#include <mutex>

#include <QFile>

#include "SoundMachine.h"
#include "shell/Settings.h"
#include "store/DataController.h"
#include "store/Localization.h"
#include "timer/DayCounts.h"

namespace {

QByteArray goalImage()
{
    QFile file(QStringLiteral(":/zestra/images/Goal-Achieve.svg"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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
    static std::once_flag texts;
    std::call_once(texts, [] {
        Localization::addCatalogue(QStringLiteral(":/zestra/i18n"), QStringLiteral("zestra"));
    });
    Settings& settings = Settings::shared();

    m_session = std::make_unique<WorkSession>(
        settings.intValue(QLatin1String(Settings::PomodorSessionTasks)), &store);
    m_session->defaultsKey = QLatin1String(Settings::PomodorSessionTasks);
    m_session->setCurrentTask(DayCounts::tasksInSessionsToday());
    m_session->notificationTitle = Localization::text("NOTIFICATION_SESSION_TITLE");
    m_session->notificationText = Localization::text("NOTIFICATION_SESSION_TEXT");
    m_session->isGoal = false;

    m_goal = std::make_unique<WorkSession>(
        settings.intValue(QLatin1String(Settings::PomodoroTodayGoal)), &store);
    m_goal->defaultsKey = QLatin1String(Settings::PomodoroTodayGoal);
    m_goal->setCurrentTask(DayCounts::tasksFinishToday());
    m_goal->notificationTitle = Localization::text("NOTIFICATION_GOAL_TITLE");
    m_goal->notificationText = Localization::text("NOTIFICATION_GOAL_TEXT");
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
