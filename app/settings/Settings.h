#pragma once

#include <mutex>
#include <optional>

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

class QSettings;

// The user's settings, day counters and one-time flags ($XDG_CONFIG_HOME/Zestra/Zestra.conf).
// Registered defaults are fallbacks held in memory and never written over stored values.
// Every call is safe from any thread; nothing is cached, so a change made by another process
// (zestra-cli) is seen at the next read.
class Settings {
public:
    // Keys, as stored.
    static constexpr const char* ShowDockIcon = "ShowDockIcon";
    static constexpr const char* LaunchOnStartUp = "LaunchOnStartUp";
    static constexpr const char* ShowNotifications = "ShowNotifications";
    static constexpr const char* ShowResetAdviceWindow = "ShowResetAdviceWindow";
    static constexpr const char* PomodorSessionTasks = "PomodorSessionTasks";
    static constexpr const char* PomodoroLittleBreakTime = "PomodoroLittleBreakTime";
    static constexpr const char* PomodoroBigBreakTime = "PomodoroBigBreakTime";
    static constexpr const char* PomodoroTaskTime = "PomodoroTaskTime";
    static constexpr const char* PomodoroTodayGoal = "PomodoroTodayGoal";
    static constexpr const char* PomodoroAutoStart = "PomodoroAutoStart";
    static constexpr const char* PomodoroStartLaunch = "PomodoroStartLaunch";
    static constexpr const char* PomodoroSoundAtEnd = "POMODORO_SOUND_AT_END";
    static constexpr const char* BreakSoundAtEnd = "BREAK_SOUND_AT_END";
    static constexpr const char* LastTaskComplete = "LastTaskComplete";
    static constexpr const char* TasksFinishToday = "TasksFinishToday";
    static constexpr const char* TasksInSessionsToday = "TasksInSessionsToday";
    static constexpr const char* ThievesImported = "ThievesImported";
    static constexpr const char* ThievesOnboardingNotDone = "ThievesOnboardingNotDone";
    static constexpr const char* ThievesScanAllowByUser = "ThievesScanAllowByUser";
    static constexpr const char* MigratedToCloud = "MigratedToCloud";
    static constexpr const char* SubscribedToCloudChanges = "SubscribedToCloudChanges";
    // The cloud database's libpq URI, without its password. Not a registered default: absent
    // until `zestra-cli cloud connect` (or the Cloud pane) writes it.
    static constexpr const char* CloudDatabaseURI = "CloudDatabaseURI";
    // When the last change fetch ended, in seconds since 2001-01-01 UTC (written by the sync).
    static constexpr const char* CloudLastSync = "CloudLastSync";
    static constexpr const char* MigratedToTaskInfo = "MigratedToTaskInfo";
    static constexpr const char* WelcomeOnboardingDone = "WelcomeOnboardingDone";

    // What the General pane offers for a number: the three lengths (minutes, its sliders),
    // tasks per session (its pop-up) and the daily goal (what its combo box accepts).
    struct Range {
        int minimum;
        int maximum;
        constexpr bool contains(int value) const { return value >= minimum && value <= maximum; }
    };
    static constexpr Range TaskTimeRange{1, 60};
    static constexpr Range ShortBreakRange{1, 30};
    static constexpr Range LongBreakRange{1, 60};
    static constexpr Range SessionTasksRange{3, 8};
    static constexpr Range TodayGoalRange{1, 54};
    // The range of a key that has one; absent for every other key (the day counters too).
    static std::optional<Range> allowedRange(const QString& key);

    Settings() = default;
    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;

    // The process's settings, with the application's defaults already registered.
    static Settings& shared();

    // The application's defaults, in registration order.
    static QList<std::pair<QString, QVariant>> applicationDefaults();
    // Adds fallbacks; a key registered again takes the newer fallback.
    void registerDefaults(const QList<std::pair<QString, QVariant>>& defaults);
    void registerApplicationDefaults() { registerDefaults(applicationDefaults()); }
    // The registered fallback of a key, if any.
    std::optional<QVariant> registeredDefault(const QString& key) const;
    QStringList registeredKeys() const;

    // Absent (and unreadable) values fall back to the registered default, then to
    // false, 0 or no string.
    bool boolValue(const QString& key) const;
    int intValue(const QString& key) const;
    std::optional<QString> stringValue(const QString& key) const;
    // intValue() when it lies within the key's allowed range, else the key's default: a value
    // written by other means (an edited file) never reaches the timer out of range.
    int validIntValue(const QString& key) const;

    // Each write reaches the file before it returns, so zestra-cli and the next launch see
    // it; false (and a logged line) when the file could not be written.
    bool setBool(const QString& key, bool value);
    bool setInt(const QString& key, int value);
    bool setString(const QString& key, const QString& value);
    bool remove(const QString& key);
    // Adds `delta` to an integer as one step, so counters bumped from several threads lose
    // no increment; answers the new value.
    int addToInt(const QString& key, int delta);

    // $XDG_CONFIG_HOME/Zestra/Zestra.conf, resolved at every call so that a test can move it.
    QString filePath() const;

private:
    std::optional<QVariant> storedValue(const QString& key) const;
    bool write(const QString& key, const std::optional<QVariant>& value);

    mutable std::mutex m_mutex;
    // In registration order; a key registered again keeps its place.
    QList<std::pair<QString, QVariant>> m_defaults;
};
