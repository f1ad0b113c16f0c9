#pragma once

#include <QString>

// Switches the popover between its screens; implemented by the popover container.
class ContainerTransitionDelegate {
public:
    virtual ~ContainerTransitionDelegate() = default;

    virtual void showTaskList() = 0;
    virtual void showTaskCreator() = 0;
    virtual void showTaskCreator(const QString& existingTaskNamed) = 0;
    virtual void showActivity() = 0;
};
