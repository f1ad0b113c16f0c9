#include "ui/ClockTime.h"

#include <QLocale>
#include <QRegularExpression>

QString ClockTime::text(const QTime& time)
{
    // Some locales' short style still has the seconds; a timeline needs the minute.
    static const QRegularExpression seconds(QStringLiteral("[:.]ss?"));
    const QLocale locale = QLocale::system();
    QString format = locale.timeFormat(QLocale::ShortFormat);
    format.remove(seconds);
    return locale.toString(time, format);
}
