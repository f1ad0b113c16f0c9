#pragma once

#include <QList>

#include "store/Date.h"
#include "tallycore_export.h"

// A span of days for a report; the dates keep the time of day of the start.
class TALLYCORE_EXPORT ReportPeriod {
public:
    ReportPeriod(Date starting, Date ending);

    Date startDate() const { return m_startDate; }
    Date endDate() const { return m_endDate; }

    // Never empty: the start itself is always the first entry.
    QList<Date> dates() const;

private:
    const Date m_startDate;
    const Date m_endDate;
};
