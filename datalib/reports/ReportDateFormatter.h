#pragma once

#include <QLocale>
#include <QString>

#include "store/Date.h"

// The report's three date styles in one locale, in the local time zone.
class ReportDateFormatter {
public:
    explicit ReportDateFormatter(QLocale locale);

    // "Wednesday, June 10, 2026"
    QString fullDate(Date date) const;
    // "6/10/26"
    QString shortDate(Date date) const;
    // "9:30 AM"
    QString shortTime(Date date) const;

private:
    QLocale m_locale;
    // Looked up once: a report may write a date for every day of three years.
    QString m_fullDate;
    QString m_shortDate;
    QString m_shortTime;
};
