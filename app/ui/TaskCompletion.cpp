#include "ui/TaskCompletion.h"

QStringList TaskCompletion::completions(const QStringList& names, const QString& typed)
{
    QStringList offered;
    if (typed.isEmpty())
        return offered;
    for (const QString& name : names) {
        if (name.startsWith(typed, Qt::CaseSensitive))
            offered.append(name);
    }
    return offered;
}
