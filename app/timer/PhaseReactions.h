#pragma once

class ActivityManager;

// What happens when a phase ends: the view that is the countdown's delegate calls these from
// its finish reports, so the reactions live here rather than in a widget.
class PhaseReactions {
public:
    explicit PhaseReactions(ActivityManager& manager);

    // Counts the task, plays its sound, and starts the break at once.
    void taskDidFinish();
    // Plays the task sound, starts the next task (held when auto start is off), and ends a
    // completed session after its long break.
    void freeTimeDidFinish();

private:
    ActivityManager& m_manager;
};
