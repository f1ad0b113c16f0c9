#pragma once

#include <optional>

#include <QByteArray>
#include <QString>

#include "tallycore_export.h"

// An application, web site or interruption that takes time away from work.
struct TALLYCORE_EXPORT Thief {
    static QString fetchRequest() { return QStringLiteral("Thief"); }

    std::optional<QString> name;
    std::optional<QString> identifier;
    std::optional<QString> kind;
    std::optional<QString> about;
    std::optional<QByteArray> image;
    bool isActive = false;
    bool preloaded = false;
    std::optional<QString> cloudRecordID;
};
