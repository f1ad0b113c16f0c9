#include "TimeArgument.h"

#include <ctime>

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <QTime>
#include <QTimeZone>

namespace {

struct LocalFields {
    QDate date;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Seconds east of UTC in the local zone at that instant.
std::optional<long> offsetAt(std::time_t instant)
{
    std::tm local{};
    if (!localtime_r(&instant, &local))
        return std::nullopt;
    return local.tm_gmtoff;
}

// Seconds since 1970 of a local wall-clock time, or absent when the zone skips it. A time the
// clocks pass twice (when they fall back) is the first of the two, in every zone: mktime picks
// either, depending on the zone and on what it was asked before.
std::optional<std::time_t> localToEpoch(const LocalFields& fields)
{
    tzset();
    std::tm wall{};
    wall.tm_year = fields.date.year() - 1900;
    wall.tm_mon = fields.date.month() - 1;
    wall.tm_mday = fields.date.day();
    wall.tm_hour = fields.hour;
    wall.tm_min = fields.minute;
    wall.tm_sec = fields.second;
    // The wall-clock reading as if it were UTC; a real instant lies one UTC offset away.
    const std::time_t asUtc = timegm(&wall);
    // Offsets in force a day either side, and those they lead to, cover any change of the
    // clocks near that time.
    std::optional<std::time_t> first;
    for (const std::time_t probe : {asUtc - 86400, asUtc + 86400, asUtc}) {
        const std::optional<long> offset = offsetAt(probe);
        if (!offset)
            continue;
        for (const long candidateOffset : {*offset, offsetAt(asUtc - *offset).value_or(*offset)}) {
            const std::time_t candidate = asUtc - candidateOffset;
            // The candidate holds when the zone's offset at it is the one assumed.
            if (offsetAt(candidate) == candidateOffset && (!first || candidate < *first))
                first = candidate;
        }
    }
    return first;
}

// Only ASCII digits: \d would also take other scripts' digits.
const QRegularExpression& dayPattern()
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{4})-([0-9]{2})-([0-9]{2})$"));
    return pattern;
}

const QRegularExpression& instantPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("^([0-9]{4})-([0-9]{2})-([0-9]{2})[T ]([0-9]{2}):([0-9]{2})"
                       "(?::([0-9]{2})(?:[.,]([0-9]+))?)?"
                       "(Z|[+-][0-9]{2}(?::?[0-9]{2})?)?$"));
    return pattern;
}

std::optional<QDate> calendarDate(const QString& year, const QString& month, const QString& day,
                                  QString& error)
{
    const QDate date(year.toInt(), month.toInt(), day.toInt());
    if (!date.isValid()) {
        error = QStringLiteral("%1-%2-%3 is not a calendar date").arg(year, month, day);
        return std::nullopt;
    }
    return date;
}

// Seconds east of UTC for "Z", "+02:00", "-0530" or "+02".
std::optional<int> utcOffset(const QString& text, QString& error)
{
    if (text == QLatin1String("Z"))
        return 0;
    const QString digits = text.mid(1).remove(QLatin1Char(':'));
    const int hours = digits.left(2).toInt();
    const int minutes = digits.size() > 2 ? digits.mid(2).toInt() : 0;
    if (hours > 18 || minutes > 59) {
        error = QStringLiteral("%1 is not a UTC offset").arg(text);
        return std::nullopt;
    }
    const int seconds = hours * 3600 + minutes * 60;
    return text.startsWith(QLatin1Char('-')) ? -seconds : seconds;
}

} // namespace

std::optional<Date> TimeArgument::instant(const QString& text, QString& error)
{
    const QRegularExpressionMatch match = instantPattern().match(text);
    if (!match.hasMatch()) {
        error = QStringLiteral("\"%1\" is not a date and time like 2026-03-29T09:30:00").arg(text);
        return std::nullopt;
    }
    const std::optional<QDate> date =
        calendarDate(match.captured(1), match.captured(2), match.captured(3), error);
    if (!date)
        return std::nullopt;
    LocalFields fields{*date, match.captured(4).toInt(), match.captured(5).toInt(),
                       match.captured(6).isEmpty() ? 0 : match.captured(6).toInt()};
    if (fields.hour > 23 || fields.minute > 59 || fields.second > 59) {
        error = QStringLiteral("\"%1\" is not a time of day").arg(text);
        return std::nullopt;
    }
    // Digits past nanoseconds cannot change a double of this size.
    const QString fractionDigits = match.captured(7).left(9);
    const double fraction =
        fractionDigits.isEmpty() ? 0.0 : QString(QLatin1String("0.") + fractionDigits).toDouble();

    double secondsSince1970 = 0;
    if (const QString zone = match.captured(8); !zone.isEmpty()) {
        const std::optional<int> offset = utcOffset(zone, error);
        if (!offset)
            return std::nullopt;
        const QDateTime utc(fields.date, QTime(fields.hour, fields.minute, fields.second),
                            QTimeZone::utc());
        secondsSince1970 = static_cast<double>(utc.toSecsSinceEpoch() - *offset);
    } else {
        const std::optional<std::time_t> epoch = localToEpoch(fields);
        if (!epoch) {
            error = QStringLiteral("%1 does not exist in the local time zone "
                                   "(the clocks skip it)")
                        .arg(text);
            return std::nullopt;
        }
        secondsSince1970 = static_cast<double>(*epoch);
    }
    return Date::fromSecsSince1970(secondsSince1970 + fraction);
}

std::optional<Date> TimeArgument::day(const QString& text, QString& error)
{
    const QRegularExpressionMatch match = dayPattern().match(text);
    if (!match.hasMatch()) {
        error = QStringLiteral("\"%1\" is not a day like 2026-03-29").arg(text);
        return std::nullopt;
    }
    const std::optional<QDate> date =
        calendarDate(match.captured(1), match.captured(2), match.captured(3), error);
    if (!date)
        return std::nullopt;
    if (const std::optional<std::time_t> midnight = localToEpoch(LocalFields{*date, 0, 0, 0}))
        return Date::fromSecsSince1970(static_cast<double>(*midnight));
    // Some zones move their clocks at midnight; the day then begins where the store says.
    const std::optional<std::time_t> noon = localToEpoch(LocalFields{*date, 12, 0, 0});
    if (!noon) {
        error = QStringLiteral("%1 cannot be placed in the local time zone").arg(text);
        return std::nullopt;
    }
    return Date::fromSecsSince1970(static_cast<double>(*noon)).beginningOfDay();
}
