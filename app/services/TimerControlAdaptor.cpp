#include "services/TimerControlAdaptor.h"

#include "services/TimerControl.h"

TimerControlAdaptor::TimerControlAdaptor(QObject* parent, TimerControl& control)
    : QDBusAbstractAdaptor(parent)
    , m_control(control)
{}

void TimerControlAdaptor::Toggle()
{
    m_control.toggle();
}

void TimerControlAdaptor::ResetTimer()
{
    m_control.resetTimer();
}

void TimerControlAdaptor::SkipFreeTime()
{
    m_control.skipFreeTime();
}

void TimerControlAdaptor::ResetSession()
{
    m_control.resetSession();
}

void TimerControlAdaptor::ResetGoal()
{
    m_control.resetGoal();
}

void TimerControlAdaptor::ShowPopover()
{
    m_control.showPopover();
}

void TimerControlAdaptor::Quit()
{
    m_control.quit();
}

QVariantMap TimerControlAdaptor::State()
{
    return withoutNulls(m_control.state());
}

bool TimerControlAdaptor::Continue(const QVariantMap& userInfo)
{
    return m_control.continueCountdown(userInfo);
}

QVariantMap TimerControlAdaptor::withoutNulls(QVariantMap state)
{
    for (auto it = state.begin(); it != state.end();) {
        if (it.value().isNull() || !it.value().isValid())
            it = state.erase(it);
        else
            ++it;
    }
    return state;
}
