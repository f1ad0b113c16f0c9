#pragma once

#include <QDBusAbstractAdaptor>
#include <QVariantMap>

class TimerControl;

// org.zestra.Zestra.Timer at /org/zestra/Zestra.
class TimerControlAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.zestra.Zestra.Timer")
public:
    TimerControlAdaptor(QObject* parent, TimerControl& control);

public slots:
    void Toggle();
    void ResetTimer();
    void SkipFreeTime();
    void ResetSession();
    void ResetGoal();
    void ShowPopover();
    void Quit();
    QVariantMap State();
    bool Continue(const QVariantMap& userInfo);

    // D-Bus has no null: an absent task is left out.
    static QVariantMap withoutNulls(QVariantMap state);

signals:
    // The same dictionary as State, on every change and once a minute.
    void StateChanged(const QVariantMap& state);

private:
    TimerControl& m_control;
};
