#pragma once

#include <QString>

#include "tallycore_export.h"

// The library's texts, looked up by id in its own translations (English when the user's
// language has none). Works with or without a QCoreApplication.
class TALLYCORE_EXPORT Localization {
public:
    static QString text(const char* id);
};
