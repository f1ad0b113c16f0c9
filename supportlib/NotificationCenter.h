#pragma once

#include <functional>

#include <QObject>
#include <QString>
#include <QVariantMap>

#include "chimebox_export.h"

// The process-wide board of named notifications with a dictionary of user info. Observers
// are called on the thread of their context object (the main thread for widgets), whatever
// thread posted.
class CHIMEBOX_EXPORT NotificationCenter : public QObject {
    Q_OBJECT
public:
    static NotificationCenter& defaultCenter();

    void post(const QString& name, const QVariantMap& userInfo = {});
    // Calls fn for every notification of that name until context is destroyed.
    QMetaObject::Connection addObserver(const QString& name, const QObject* context,
                                        std::function<void(const QVariantMap&)> fn);

signals:
    void posted(const QString& name, const QVariantMap& userInfo);
};
