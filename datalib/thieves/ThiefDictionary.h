#pragma once

#include <optional>

#include <QVariantMap>

#include "store/Thief.h"
#include "store/WorkActivity.h"
#include "tallycore_export.h"

// Thieves travel as dictionaries of text keys ("name", "identifier", "kind", "isActive",
// "preloaded", and optionally "image", "description", "cloudRecordID").
class TALLYCORE_EXPORT ThiefDictionary {
public:
    // Absent when a required key is missing or holds a value of another type; an optional
    // key of another type leaves its attribute unset.
    static std::optional<Thief> thief(const QVariantMap& dictionary);
    static std::optional<QString> identifier(const QVariantMap& dictionary);

    static QVariantMap make(const QString& name, const QString& identifier, const QString& kind,
                            bool isActive, bool preloaded);
    // The dictionary that makes a thief of a recorded activity: active and not preloaded.
    // Absent when the activity lacks its name, identifier or kind.
    static std::optional<QVariantMap> dictionaryRepresentation(const WorkActivity& activity);
};
