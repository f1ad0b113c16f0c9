#pragma once

#include <QString>

#include "ui/TaskAdaptable.h"

// The row shown alone when the catalogue has no task: it invites the user to add one.
class EmptyTaskAdapter : public TaskAdaptable {
public:
    static constexpr int rowHeight = 150;

    EmptyTaskAdapter(QString title, QString tagline);

    QString title;
    QString tagline;

    Cell cell() const override { return Cell::emptyTask; }
    int height() const override { return rowHeight; }
    bool isSelectable() const override { return false; }
};
