#include "reports/ReportDateFormatter.h"

#include <QDateTime>

ReportDateFormatter::ReportDateFormatter(QLocale locale)
    : m_locale(std::move(locale))
    , m_fullDate(m_locale.dateFormat(QLocale::LongFormat))
    , m_shortDate(m_locale.dateFormat(QLocale::ShortFormat))
    , m_shortTime(m_locale.timeFormat(QLocale::ShortFormat))
{}

QString ReportDateFormatter::fullDate(Date date) const
{
    return m_locale.toString(date.toDateTime().date(), m_fullDate);
}

QString ReportDateFormatter::shortDate(Date date) const
{
    return m_locale.toString(date.toDateTime().date(), m_shortDate);
}

QString ReportDateFormatter::shortTime(Date date) const
{
    return m_locale.toString(date.toDateTime().time(), m_shortTime);
}
