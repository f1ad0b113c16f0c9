#include "support/TestEnvironment.h"

#include <ctime>
#include <functional>

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QStandardPaths>

#include "dispatch/Clock.h"
#include "support/ManualClock.h"

TestEnvironment::TestEnvironment(const QByteArray& timeZone)
    : m_clock(std::make_shared<ManualClock>(0.0))
    , m_previousTimeZone(qgetenv("TZ"))
    , m_hadTimeZone(qEnvironmentVariableIsSet("TZ"))
{
    QDir(m_dir.path()).mkpath(QStringLiteral("data"));
    QDir(m_dir.path()).mkpath(QStringLiteral("config"));
    qputenv("HOME", m_dir.path().toUtf8());
    qputenv("XDG_DATA_HOME", dataHome().toUtf8());
    qputenv("XDG_CONFIG_HOME", configHome().toUtf8());
    setTimeZone(timeZone);
    Clock::setShared(m_clock);
}

TestEnvironment::~TestEnvironment()
{
    Clock::setShared(nullptr);
    if (m_hadTimeZone)
        qputenv("TZ", m_previousTimeZone);
    else
        qunsetenv("TZ");
    tzset();
}

QString TestEnvironment::root() const
{
    return m_dir.path();
}

QString TestEnvironment::dataHome() const
{
    return m_dir.path() + QStringLiteral("/data");
}

QString TestEnvironment::configHome() const
{
    return m_dir.path() + QStringLiteral("/config");
}

QString TestEnvironment::dataDirectory() const
{
    return dataHome() + QStringLiteral("/Zestra");
}

ManualClock& TestEnvironment::clock()
{
    return *m_clock;
}

void TestEnvironment::setTimeZone(const QByteArray& timeZone)
{
    qputenv("TZ", timeZone);
    tzset();
}

double TestEnvironment::localTime(const QString& isoLocal)
{
    const QDateTime local = QDateTime::fromString(isoLocal, Qt::ISODateWithMs);
    return static_cast<double>(local.toMSecsSinceEpoch()) / 1000.0 - Clock::referenceDateOffset;
}

bool processEventsUntil(const std::function<bool()>& done, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}
