#pragma once

#include <mutex>

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QStringList>
#include <QThread>

// Plays KWin's scripting service (org.kde.KWin, /Scripting) on the test's private bus, on a
// thread of its own so that a caller blocked on the main thread gets its answers. It records
// each call and keeps the last script it was given.
class KWinScriptingStandIn : public QDBusVirtualObject {
public:
    enum class Starts {
        // Plasma 6 and late Plasma 5: the loaded script is an object of its own with run().
        byScriptObject,
        // Only Scripting.start() runs loaded scripts.
        byScriptingStart,
    };

    explicit KWinScriptingStandIn(Starts starts, bool refusesScripts = false);
    ~KWinScriptingStandIn() override;

    // Takes the name org.kde.KWin; false when the bus refused it.
    bool appear();
    // Gives the name up, as a KWin that quits.
    void quit();

    QStringList calls() const;
    QString lastScript() const;
    // Calls the method the script names in its callDBus, as KWin would run it.
    bool reportActiveWindow(const QString& desktopFileName) const;

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;
    QString introspect(const QString& path) const override;

private:
    const Starts m_starts;
    const bool m_refusesScripts;
    const QString m_connectionName;
    QDBusConnection m_bus;
    QThread m_thread;
    mutable std::mutex m_mutex;
    QStringList m_calls;
    QString m_script;
    int m_lastId = 0;
};
