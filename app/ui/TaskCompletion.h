#pragma once

#include <QString>
#include <QStringList>

// What the task search offers while the user types.
class TaskCompletion {
public:
    // The names that begin with `typed` (case counts), in the order given; none for an
    // empty text.
    static QStringList completions(const QStringList& names, const QString& typed);
};
