#pragma once

class WorkSession;

// Shows a session or goal counter; told on the main thread.
class WorkSessionDelegate {
public:
    virtual ~WorkSessionDelegate() = default;

    virtual void workSessionDidAdvance(WorkSession& session, int currentTask, int totalTasks) = 0;
    virtual void workSessionDidRefresh(WorkSession& session) = 0;
    virtual void workSessionDidChangeTotal(WorkSession& session) = 0;
};
