#pragma once

#include <optional>

#include <QString>

#include "store/Date.h"

// Instants and days as a person types them on the command line. Local times follow the
// time zone of TZ, as the store's day boundaries do.
class TimeArgument {
public:
    // ISO 8601 date and time: "2026-03-29T23:59:59.5" is local time; a trailing "Z" or an
    // offset ("+02:00", "+0200", "+02") makes it absolute. Seconds and their fraction are
    // optional; a space may stand for the "T". A local time that the clocks skip over
    // (a daylight-saving gap) is refused; one they pass twice (when they fall back) is the
    // first of the two.
    static std::optional<Date> instant(const QString& text, QString& error);
    // "2026-03-29": the local midnight that begins that day.
    static std::optional<Date> day(const QString& text, QString& error);
};
