#pragma once

#include <QObject>
#include <QString>

// The tray item's title ("--:--", " 24:59", " --:--"), kept as the text itself; the tray
// shows it as it can (tooltip, label, icon).
class StatusItem : public QObject {
    Q_OBJECT
public:
    static StatusItem& shared();

    QString title() const { return m_title; }
    void setTitle(const QString& title);

signals:
    void titleChanged(const QString& title);

private:
    QString m_title = QStringLiteral("--:--");
};
