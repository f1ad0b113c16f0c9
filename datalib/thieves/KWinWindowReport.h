#pragma once

#include <mutex>
#include <optional>

#include <QObject>
#include <QString>

class QDBusConnection;

// What Zestra's KWin script reports: the desktop file name of the active window. It lives on
// a thread of its own, where D-Bus delivers the reports; the scanner's queue reads them.
class KWinWindowReport : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.zestra.Zestra.KWinWindowReport")

public:
    // Watches KWin on `bus`, so a KWin that quits (and takes the script with it) is noticed.
    explicit KWinWindowReport(const QDBusConnection& bus);

    // Absent before the first report; empty when no window is active.
    std::optional<QString> desktopFileName() const;
    bool isKWinGone() const;

public Q_SLOTS:
    Q_SCRIPTABLE void report(const QString& desktopFileName);

private:
    void kwinGone();

    mutable std::mutex m_mutex;
    std::optional<QString> m_desktopFileName;
    bool m_kwinGone = false;
};
