#pragma once

#include <functional>
#include <memory>
#include <ostream>

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

class ManualClock;

// Lets GoogleTest print Qt strings in its failure messages.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

// A private world for one test: its own HOME and XDG folders, a pinned time zone and a
// manual clock. Everything is restored when it goes out of scope.
class TestEnvironment {
public:
    explicit TestEnvironment(const QByteArray& timeZone = "UTC");
    ~TestEnvironment();

    QString root() const;
    QString dataHome() const;
    QString configHome() const;
    // $XDG_DATA_HOME/Zestra
    QString dataDirectory() const;
    ManualClock& clock();

    void setTimeZone(const QByteArray& timeZone);
    // Seconds since 2001-01-01 UTC of a local time in the pinned zone, e.g.
    // "2026-03-29T23:59:59.5".
    static double localTime(const QString& isoLocal);

private:
    QTemporaryDir m_dir;
    std::shared_ptr<ManualClock> m_clock;
    QByteArray m_previousTimeZone;
    bool m_hadTimeZone;
};

// Runs queued main-thread work until `done` holds or a generous limit of events passes.
bool processEventsUntil(const std::function<bool()>& done, int timeoutMs = 5000);
