#include "ui/GeneralPreferences.h"

#include "settings/Settings.h"

namespace {

constexpr int SessionFirst = Settings::SessionTasksRange.minimum;
constexpr int SessionLast = Settings::SessionTasksRange.maximum;
constexpr int GoalStep = 4;
constexpr int GoalListLast = 32;

std::optional<int> parseDecimal(const QString& text)
{
    bool ok = false;
    const int number = text.trimmed().toInt(&ok, 10);
    return ok ? std::optional<int>(number) : std::nullopt;
}

} // namespace

GeneralPreferences::GeneralPreferences(Settings& settings, Hooks hooks)
    : m_settings(settings)
    , m_hooks(std::move(hooks))
{}

QStringList GeneralPreferences::sessionItems()
{
    QStringList items;
    for (int size = SessionFirst; size <= SessionLast; ++size)
        items.append(QString::number(size));
    return items;
}

int GeneralPreferences::sessionIndex() const
{
    return static_cast<int>(sessionItems().indexOf(
        QString::number(m_settings.intValue(Settings::PomodorSessionTasks))));
}

bool GeneralPreferences::selectSession(const QString& title)
{
    const std::optional<int> size = parseDecimal(title);
    if (!size)
        return false;
    m_settings.setInt(Settings::PomodorSessionTasks, *size);
    if (m_hooks.sessionTotalChanged)
        m_hooks.sessionTotalChanged(*size);
    return true;
}

QStringList GeneralPreferences::goalItems(int stored)
{
    QStringList items;
    for (int goal = GoalStep; goal <= GoalListLast; goal += GoalStep)
        items.append(QString::number(goal));
    const QString storedText = QString::number(stored);
    if (!items.contains(storedText))
        items.append(storedText);
    return items;
}

QStringList GeneralPreferences::goalItems() const
{
    return goalItems(m_settings.intValue(Settings::PomodoroTodayGoal));
}

int GeneralPreferences::goalIndex() const
{
    return static_cast<int>(
        goalItems().indexOf(QString::number(m_settings.intValue(Settings::PomodoroTodayGoal))));
}

std::optional<int> GeneralPreferences::parseGoal(const QString& text)
{
    const std::optional<int> goal = parseDecimal(text);
    if (!goal || *goal < GoalMinimum || *goal > GoalMaximum)
        return std::nullopt;
    return goal;
}

bool GeneralPreferences::changeGoal(const QString& text)
{
    const std::optional<int> goal = parseGoal(text);
    if (!goal)
        return false;
    m_settings.setInt(Settings::PomodoroTodayGoal, *goal);
    if (m_hooks.goalTotalChanged)
        m_hooks.goalTotalChanged(*goal);
    return true;
}

int GeneralPreferences::minutes(const char* key) const
{
    return m_settings.intValue(QString::fromLatin1(key));
}

void GeneralPreferences::setMinutes(const char* key, int minutes)
{
    m_settings.setInt(QString::fromLatin1(key), minutes);
}

bool GeneralPreferences::isOn(int checkState)
{
    return checkState == Qt::Checked;
}

bool GeneralPreferences::isChecked(const char* key) const
{
    return m_settings.boolValue(QString::fromLatin1(key));
}

void GeneralPreferences::setChecked(const char* key, int checkState)
{
    m_settings.setBool(QString::fromLatin1(key), isOn(checkState));
}

bool GeneralPreferences::changeDockIcon(int checkState)
{
    const bool show = isOn(checkState);
    // Nothing to switch yet (no taskbar window wired): the choice still holds from the next
    // launch.
    const bool switched = !m_hooks.applyDockIcon || m_hooks.applyDockIcon(show);
    if (switched)
        m_settings.setBool(Settings::ShowDockIcon, show);
    return m_settings.boolValue(Settings::ShowDockIcon);
}
