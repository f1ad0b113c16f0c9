#include "dispatch/MainQueue.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include "dispatch/Clock.h"

void MainQueue::post(std::function<void()> fn)
{
    post(QCoreApplication::instance(), std::move(fn));
}

void MainQueue::post(const QObject* context, std::function<void()> fn)
{
    if (!context || !fn)
        return;
    QMetaObject::invokeMethod(const_cast<QObject*>(context), std::move(fn), Qt::QueuedConnection);
}

void MainQueue::postAfter(double seconds, std::function<void()> fn)
{
    Clock::shared()->callAfter(seconds, std::move(fn));
}

bool MainQueue::isMainThread()
{
    auto* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}
