#pragma once

#include <optional>

#include <QByteArray>
#include <QString>

#include "tallycore_export.h"

// The pictures shipped with the thief catalogue: SVG documents named after a thief's
// identifier, and "Thief-Generic" for everything without one of its own.
class TALLYCORE_EXPORT ThiefImages {
public:
    static constexpr const char* generic = "Thief-Generic";

    // The picture named exactly so, or absent.
    static std::optional<QByteArray> named(const QString& name);
    // The picture of that name, or the generic one.
    static QByteArray namedOrGeneric(const QString& name);
};
