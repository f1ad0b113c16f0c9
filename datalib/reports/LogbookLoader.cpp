#include "reports/LogbookLoader.h"

#include <memory>

#include "dispatch/MainQueue.h"
#include "store/DataController.h"

LogbookLoader::LogbookLoader(DataController& store, QObject* parent)
    : QObject(parent)
    , m_store(store)
{
    m_pool.setObjectName(QStringLiteral("org.zestra.Zestra./bitacora"));
    m_pool.setMaxThreadCount(2);
    m_executor = [this](std::function<void()> job) { m_pool.start(std::move(job)); };
}

LogbookLoader::~LogbookLoader()
{
    m_pool.waitForDone();
}

quint64 LogbookLoader::reload(Date day)
{
    const quint64 generation = ++m_generation;
    DataController* store = &m_store;
    m_executor([this, store, generation, day] {
        auto logbook = std::make_shared<const LogbookDay>(LogbookDay::read(*store, day));
        MainQueue::post(this,
                        [this, generation, day, logbook] { install(generation, day, *logbook); });
    });
    return generation;
}

void LogbookLoader::install(quint64 generation, Date day, const LogbookDay& logbook)
{
    // A reload asked for later supersedes this one, whichever finishes first.
    if (generation != m_generation)
        return;
    emit loaded(day, logbook);
}
