#include "store/ReportPeriod.h"

ReportPeriod::ReportPeriod(Date starting, Date ending)
    : m_startDate(starting)
    , m_endDate(ending)
{}

QList<Date> ReportPeriod::dates() const
{
    const Date endBound = m_endDate.endOfDay();
    QList<Date> result;
    Date d = m_startDate;
    do {
        result.append(d);
        d = d.next();
    } while (endBound >= d);
    return result;
}
