#include "ui/ThiefRows.h"

#include <algorithm>
#include <map>

#include "store/DataController.h"
#include "store/Localization.h"
#include "thieves/WorkActivityRecords.h"

namespace {

QString keyOf(const WorkActivity& activity)
{
    if (activity.identifier && !activity.identifier->isEmpty())
        return *activity.identifier;
    return activity.name.value_or(QString());
}

ActivityCellAdapter emptyRow(ThiefListing mode, bool outdated)
{
    ActivityCellAdapter row;
    row.title = Localization::text("THIEF_CELL_EMPTY_TITLE");
    if (outdated)
        row.tagline = Localization::text("THIEF_CELL_EMPTY_TAGLINE");
    else if (mode == ThiefListing::all)
        row.tagline = Localization::text("THIEF_CELL_EMPTY_TAGLINE_ACTIVITY");
    else
        row.tagline = Localization::text("THIEF_CELL_EMPTY_TAGLINE_THIEF");
    return row;
}

} // namespace

bool ThiefRows::isOutdated(Date day, Date now)
{
    return day.endOfDay() < WorkActivityRecords::purgeLimit(now);
}

QList<ActivityCellAdapter> ThiefRows::build(DataController& store, Date day, ThiefListing mode,
                                            ThiefSorting sorting, Date now)
{
    // std::map keeps the keys in ascending text order.
    std::map<QString, QList<WorkActivity>> byKey;
    for (const WorkActivity& activity : store.workActivities(day).value_or(QList<WorkActivity>()))
        byKey[keyOf(activity)].append(activity);

    QList<ActivityCellAdapter> rows;
    for (auto& [key, activities] : byKey) {
        ActivityCellAdapter row;
        row.key = key;
        row.activities = std::move(activities);
        if (mode == ThiefListing::thiefs) {
            const QString identifier = row.identifier();
            std::optional<Thief> thief =
                identifier.isEmpty() ? std::nullopt : store.thief(identifier);
            if (!thief || !thief->isActive)
                continue;
            row.kind = ActivityCellAdapter::Kind::thief;
            row.thief = std::move(thief);
        } else {
            row.kind = ActivityCellAdapter::Kind::activity;
            // Kept so the full listing can tell the thieves apart.
            const QString identifier = row.identifier();
            if (!identifier.isEmpty()) {
                std::optional<Thief> thief = store.thief(identifier);
                if (thief && thief->isActive)
                    row.thief = std::move(thief);
            }
        }
        rows.append(std::move(row));
    }
    if (sorting == ThiefSorting::time)
        std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
            return a.totalSeconds() > b.totalSeconds();
        });
    else
        std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
            return QString::localeAwareCompare(a.name().toCaseFolded(), b.name().toCaseFolded()) <
                   0;
        });
    if (rows.isEmpty())
        rows.append(emptyRow(mode, isOutdated(day, now)));
    return rows;
}
