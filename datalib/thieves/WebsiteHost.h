#pragma once

#include <optional>

#include <QString>

#include "tallycore_export.h"

// A website thief is known by its host name, lower case and without a leading "www.".
class TALLYCORE_EXPORT WebsiteHost {
public:
    // The host that `domain` names, or absent (with `error` saying why) when it names none.
    static std::optional<QString> normalised(const QString& domain, QString& error);
    // "www." taken off the front of a host, once; a "www." further on stays.
    static QString withoutWww(const QString& host);
};
