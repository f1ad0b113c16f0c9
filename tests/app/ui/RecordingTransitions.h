#pragma once

#include <QStringList>

#include "ui/ContainerTransitionDelegate.h"

// Stands in for the popover container and records each screen asked for.
class RecordingTransitions : public ContainerTransitionDelegate {
public:
    void showTaskList() override { calls << QStringLiteral("list"); }
    void showTaskCreator() override { calls << QStringLiteral("creator"); }
    void showTaskCreator(const QString& existingTaskNamed) override
    {
        calls << QStringLiteral("creator ") + existingTaskNamed;
    }
    void showActivity() override { calls << QStringLiteral("activity"); }
    QStringList calls;
};
