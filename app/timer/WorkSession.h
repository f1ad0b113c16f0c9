#pragma once

#include <optional>

#include <QByteArray>
#include <QObject>
#include <QString>

#include "timer/WeakDelegate.h"

class DataController;
class WorkSessionDelegate;

// Counts finished tasks toward a session or toward the daily goal, and records the session or
// goal when the count reaches its total.
class WorkSession : public QObject {
    Q_OBJECT
public:
    explicit WorkSession(int totalTasks, DataController* store = nullptr);

    void increment();
    void refresh();
    void reset();
    void setTotal(int n);

    int currentTask() const { return m_currentTask; }
    void setCurrentTask(int n) { m_currentTask = n; }
    bool sessionFinish() const { return m_sessionFinish; }
    int totalTasks() const { return m_totalTasks; }
    // The completion percentage, in whole percent.
    int percent() const { return m_totalTasks > 0 ? m_currentTask * 100 / m_totalTasks : 100; }

    std::optional<QString> defaultsKey;
    std::optional<QString> notificationTitle;
    std::optional<QString> notificationText;
    std::optional<QByteArray> notificationImage;
    std::optional<bool> isGoal;

    void setDelegate(WorkSessionDelegate* delegate);
    WorkSessionDelegate* delegate() const;

signals:
    // Emitted on every assignment, changed or not.
    void sessionFinishAssigned(bool value);

private:
    void setSessionFinish(bool value);
    void reloadTotal();

    DataController* m_store;
    int m_currentTask = 0;
    bool m_sessionFinish = false;
    int m_totalTasks;
    WeakDelegate<WorkSessionDelegate> m_delegate;
};
