#pragma once

#include "tallycore_export.h"

class CloudRecord;
class DataController;

// Gives a saved record's name to its local object, found by the zone's natural key among the
// objects that have no record name yet.
class TALLYCORE_EXPORT CloudRecordLinker {
public:
    // False for a record of no known zone ("registro desconocido") or without its key.
    static bool link(DataController& store, const CloudRecord& saved);
};
