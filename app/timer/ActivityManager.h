#pragma once

#include <functional>
#include <memory>

#include <QObject>
#include <QString>

#include "timer/Activity.h"
#include "timer/WorkSession.h"

class DataController;

// Owns the countdown and its two counters, and links them: a finished task advances both
// counters, and a completed session makes the next break the long one.
class ActivityManager : public QObject {
    Q_OBJECT
public:
    // Plays a bundled sound by name ("Task-Sound", "Break-Sound", "Goal-Sound").
    using SoundPlayer = std::function<void(const QString& name)>;

    static ActivityManager& shared();

    explicit ActivityManager(DataController& store, SoundPlayer playSound = {});
    ~ActivityManager() override;

    Activity& activityPomodoro() { return *m_activity; }
    WorkSession& sessionPomodoro() { return *m_session; }
    WorkSession& goalPomodoro() { return *m_goal; }

    void launch();
    void taskFinished();
    void resetTimer();
    void setSessionTotal(int n);
    void setGoalTotal(int n);
    void playSound(const QString& name) const;

private:
    SoundPlayer m_playSound;
    std::unique_ptr<Activity> m_activity;
    std::unique_ptr<WorkSession> m_session;
    std::unique_ptr<WorkSession> m_goal;
};
