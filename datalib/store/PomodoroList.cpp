#include "store/PomodoroList.h"

namespace {

template <typename Accumulate>
std::optional<int> overRange(const QList<Pomodoro>& list, const QString& name, int fromIndex,
                             int toIndex, Accumulate accumulate)
{
    if (toIndex > list.size() || fromIndex < 0)
        return std::nullopt;
    int total = 0;
    for (int i = fromIndex; i < toIndex; ++i) {
        const Pomodoro& p = list.at(i);
        if (p.taskInfoName == name)
            total += accumulate(p);
    }
    return total;
}

} // namespace

namespace PomodoroList {

std::optional<QStringList> taskNames(const QList<Pomodoro>& list)
{
    QStringList names;
    for (const Pomodoro& p : list) {
        if (p.taskName)
            names.append(*p.taskName);
    }
    return names;
}

std::optional<int> durationForTask(const QList<Pomodoro>& list, const QString& name, int fromIndex,
                                   int toIndex)
{
    return overRange(list, name, fromIndex, toIndex, [](const Pomodoro& p) { return p.duration; });
}

std::optional<int> countForTask(const QList<Pomodoro>& list, const QString& name, int fromIndex,
                                int toIndex)
{
    return overRange(list, name, fromIndex, toIndex, [](const Pomodoro&) { return 1; });
}

} // namespace PomodoroList
