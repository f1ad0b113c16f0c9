#pragma once

#include <optional>

#include <QList>
#include <QStringList>

#include "store/Pomodoro.h"
#include "tallycore_export.h"

// Operations on a day's list of pomodoros, as the logbook uses them.
namespace PomodoroList {

// The stored task names, in list order; rows without one are skipped.
TALLYCORE_EXPORT std::optional<QStringList> taskNames(const QList<Pomodoro>& list);
// Sum of durations of the rows i..j-1 linked to the named task; absent when j is past the
// end or i is negative.
TALLYCORE_EXPORT std::optional<int>
durationForTask(const QList<Pomodoro>& list, const QString& name, int fromIndex, int toIndex);
TALLYCORE_EXPORT std::optional<int> countForTask(const QList<Pomodoro>& list, const QString& name,
                                                 int fromIndex, int toIndex);

} // namespace PomodoroList
