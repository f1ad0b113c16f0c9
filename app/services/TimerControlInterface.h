#pragma once

#include <QDBusAbstractInterface>
#include <QVariantMap>

// The client side of org.zestra.Zestra.Timer, for programs that follow the running
// application (zestra-cli timer watch): its D-Bus signal arrives as a Qt signal.
class TimerControlInterface : public QDBusAbstractInterface {
    Q_OBJECT
public:
    explicit TimerControlInterface(const QDBusConnection& connection, QObject* parent = nullptr);

signals:
    void StateChanged(const QVariantMap& state);
};
