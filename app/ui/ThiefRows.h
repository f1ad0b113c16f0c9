#pragma once

#include <QList>

#include "store/Date.h"
#include "ui/ActivityCellAdapter.h"
#include "ui/ThiefListing.h"

class DataController;

// The rows of the thief window for one day, read from the store.
class ThiefRows {
public:
    // Rows follow their names, or the most time first; a day with nothing to show gives one
    // empty row, which says when the store no longer keeps that day.
    static QList<ActivityCellAdapter> build(DataController& store, Date day, ThiefListing mode,
                                            ThiefSorting sorting, Date now);
    // Before the oldest day the weekly purge keeps.
    static bool isOutdated(Date day, Date now);
};
