#pragma once

#include <QList>
#include <QString>
#include <QVariantMap>

#include "tallycore_export.h"

// The list of thieves shipped with the program, read and checked whole before anything in
// the store changes.
class TALLYCORE_EXPORT PreloadedThieves {
public:
    enum class Status {
        ok,
        // The file is missing or cannot be read.
        missing,
        // Not JSON, not an array of objects, or no element makes a thief.
        invalid,
    };

    struct List {
        Status status = Status::missing;
        // The elements that make a thief, in the list's order.
        QList<QVariantMap> entries;
        int skipped = 0;
        QString error;
    };

    static QString resourcePath();
    static List read(const QString& path);
};
