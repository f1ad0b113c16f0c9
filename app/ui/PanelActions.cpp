#include "ui/PanelActions.h"

#include "services/Handoff.h"
#include "settings/Settings.h"
#include "store/Localization.h"
#include "timer/ActivityManager.h"
#include "ui/MessageBox.h"

PanelActions::PanelActions(ActivityManager& manager)
    : m_manager(manager)
{}

void PanelActions::resetTimer(bool withSound)
{
    m_manager.resetTimer();
    Handoff::publish(m_manager);
    if (withSound)
        m_manager.playSound(QStringLiteral("Task-Sound"));
}

void PanelActions::toggleTimer()
{
    m_manager.activityPomodoro().toggle();
}

void PanelActions::switchTimer(bool shownRunning)
{
    Activity& activity = m_manager.activityPomodoro();
    if (shownRunning) {
        if (activity.isRunning())
            activity.pause();
    } else if (!activity.isRunning()) {
        activity.start();
    }
}

void PanelActions::resetSession(bool advise)
{
    m_manager.sessionPomodoro().reset();
    Handoff::publish(m_manager);
    if (advise && Settings::shared().boolValue(QLatin1String(Settings::ShowResetAdviceWindow)))
        this->advise("RESET_TITLE", "RESET_MESSAGE", "RESET_BUTTON");
}

void PanelActions::resetGoal(bool advise)
{
    m_manager.goalPomodoro().reset();
    Handoff::publish(m_manager);
    if (advise)
        this->advise("RESET_SESSION_TITLE", "RESET_SESSION_MESSAGE", "RESET_SESSION_BUTTON");
}

void PanelActions::skipFreeTime()
{
    m_manager.activityPomodoro().skipFreeTime();
}

void PanelActions::resetAll()
{
    m_manager.resetTimer();
    m_manager.sessionPomodoro().reset();
    m_manager.goalPomodoro().reset();
    Handoff::publish(m_manager);
}

const char* PanelActions::toggleTitleKey() const
{
    return m_manager.activityPomodoro().isRunning() ? "MENU_ACTIVITIES_PAUSE"
                                                    : "MENU_ACTIVITIES_RESUME";
}

bool PanelActions::canSkipFreeTime() const
{
    return !m_manager.activityPomodoro().onActivity();
}

void PanelActions::advise(const char* title, const char* text, const char* button) const
{
    MessageBox::information(
        nullptr, {Localization::text(title), Localization::text(text), Localization::text(button)});
}
