#pragma once

#include <optional>

#include <QString>

#include "tallycore_export.h"

// What a thief is. The stored kind is free text: beside these three, "browser" marks the
// web browsers of the preloaded list, which the scanner asks for their page.
class TALLYCORE_EXPORT ThiefKind {
public:
    enum class Kind { website, application, interruption };

    static constexpr const char* browser = "browser";

    // Exact comparison; "browser", "" and anything else make no kind.
    static std::optional<Kind> fromRawValue(const QString& raw);
    static QString rawValue(Kind kind);
};
