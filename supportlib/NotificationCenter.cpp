#include "NotificationCenter.h"

NotificationCenter& NotificationCenter::defaultCenter()
{
    static NotificationCenter* center = new NotificationCenter;
    return *center;
}

void NotificationCenter::post(const QString& name, const QVariantMap& userInfo)
{
    emit posted(name, userInfo);
}

QMetaObject::Connection NotificationCenter::addObserver(const QString& name, const QObject* context,
                                                        std::function<void(const QVariantMap&)> fn)
{
    return connect(this, &NotificationCenter::posted, context,
                   [name, fn = std::move(fn)](const QString& posted, const QVariantMap& info) {
                       if (posted == name)
                           fn(info);
                   });
}
