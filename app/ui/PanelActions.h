#pragma once

class ActivityManager;

// The timer actions of the activity panel (its menu and its keyboard shortcuts), kept apart
// from the widgets that trigger them.
class PanelActions {
public:
    explicit PanelActions(ActivityManager& manager);

    // Restarts the current phase; from the menu it also plays the task sound.
    void resetTimer(bool withSound);
    void toggleTimer();
    // Starts or pauses as the panel shows the timer, so a shortcut never resumes twice.
    void switchTimer(bool shownRunning);
    // The menu advises afterwards (the session only when the settings ask for it); the
    // keyboard resets silently.
    void resetSession(bool advise);
    void resetGoal(bool advise);
    void skipFreeTime();
    // Timer and both counters, without sound or alert.
    void resetAll();

    const char* toggleTitleKey() const;
    bool canSkipFreeTime() const;

private:
    void advise(const char* title, const char* text, const char* button) const;

    ActivityManager& m_manager;
};
