#pragma once

#include <functional>
#include <optional>

#include <QString>
#include <QStringList>

#include "settings/Settings.h"

// What the General pane decides, without its widgets: which items its pop-ups list, what a
// choice writes, and whom it tells. Every value is read from the store when asked.
class GeneralPreferences {
public:
    struct Hooks {
        // The running counters take a new session size or daily goal at once.
        std::function<void(int)> sessionTotalChanged;
        std::function<void(int)> goalTotalChanged;
        // Shows or hides the taskbar window; answers whether the switch happened.
        std::function<bool(bool show)> applyDockIcon;
    };

    // The settings' own ranges, so that what the pane offers is what the timer and
    // zestra-cli accept.
    using MinuteRange = Settings::Range;
    static constexpr MinuteRange TaskTimeRange = Settings::TaskTimeRange;
    static constexpr MinuteRange ShortBreakRange = Settings::ShortBreakRange;
    static constexpr MinuteRange LongBreakRange = Settings::LongBreakRange;

    static constexpr int GoalMinimum = Settings::TodayGoalRange.minimum;
    static constexpr int GoalMaximum = Settings::TodayGoalRange.maximum;

    explicit GeneralPreferences(Settings& settings, Hooks hooks = {});

    // "3" to "8".
    static QStringList sessionItems();
    // The item of the stored session size, or -1 when none matches.
    int sessionIndex() const;
    // Takes an item's title; a number is stored and handed over, anything else is ignored.
    bool selectSession(const QString& title);

    // 4, 8, ..., 32, then `stored` when it is not among them.
    static QStringList goalItems(int stored);
    QStringList goalItems() const;
    int goalIndex() const;
    // A decimal number from 1 to 54, or nothing.
    static std::optional<int> parseGoal(const QString& text);
    // Stores and hands over an acceptable goal; anything else leaves the stored goal alone.
    bool changeGoal(const QString& text);

    int minutes(const char* key) const;
    void setMinutes(const char* key, int minutes);

    // Only a ticked box counts as on; a partly ticked one is off.
    static bool isOn(int checkState);
    bool isChecked(const char* key) const;
    void setChecked(const char* key, int checkState);
    // Writes "ShowDockIcon" only when the switch worked; answers the value now stored.
    bool changeDockIcon(int checkState);

private:
    Settings& m_settings;
    Hooks m_hooks;
};
