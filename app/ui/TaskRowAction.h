#pragma once

#include <QList>
#include <QString>

// An action on the trailing edge of a task row, offered as a hover button and in the row's
// context menu.
struct TaskRowAction {
    enum class Kind { remove, edit };

    Kind kind;
    const char* title;
    // Name of the monochrome image in the resources, tinted white on the background.
    QString image;
    QString background;

    // Delete first, as it sits on the outermost edge.
    static QList<TaskRowAction> trailing();
};
