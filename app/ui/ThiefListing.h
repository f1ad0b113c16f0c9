#pragma once

// Which recorded activities the thief window lists.
enum class ThiefListing {
    // Only the identifiers of active thieves.
    thiefs,
    // Every identifier recorded on the day.
    all,
};

// The order of the rows.
enum class ThiefSorting {
    name,
    // Most time first.
    time,
};
