#pragma once

#include <memory>

#include <QDBusConnection>
#include <QObject>

class TimerControl;
class TimerStatePublisher;

// Puts the application on the session bus as org.zestra.Zestra, which also makes it the only
// instance: a second start finds the name taken and asks the first to show its popover.
class TimerControlService {
public:
    static constexpr const char* serviceName = "org.zestra.Zestra";
    static constexpr const char* objectPath = "/org/zestra/Zestra";
    static constexpr const char* interfaceName = "org.zestra.Zestra.Timer";

    explicit TimerControlService(QDBusConnection connection = QDBusConnection::sessionBus());
    ~TimerControlService();

    // False when another instance owns the name (or there is no bus).
    bool start(TimerControl& control);
    // Asks the running instance to show its popover; false when there is none.
    bool showRunningInstance();

private:
    QDBusConnection m_connection;
    std::unique_ptr<QObject> m_object;
    std::unique_ptr<TimerStatePublisher> m_publisher;
    bool m_registered = false;
};
