#pragma once

#include <functional>

#include <QObject>
#include <QThreadPool>

#include "reports/LogbookDay.h"
#include "store/Date.h"
#include "tallycore_export.h"

class DataController;

// Reads a day of the logbook off the main thread. Each reload builds its rows into a list of
// its own; the list reaches the main thread only when no later reload was asked for in the
// meantime, so overlapping reloads never mix their rows or install an older day.
class TALLYCORE_EXPORT LogbookLoader : public QObject {
    Q_OBJECT
public:
    // Runs a job off the main thread.
    using Executor = std::function<void(std::function<void()> job)>;

    explicit LogbookLoader(DataController& store, QObject* parent = nullptr);
    ~LogbookLoader() override;

    // Tests run the jobs themselves, in the order they choose.
    void setExecutor(Executor executor) { m_executor = std::move(executor); }

    // Call on the main thread. Returns the reload's number.
    quint64 reload(Date day);
    // The number of the latest reload asked for.
    quint64 generation() const { return m_generation; }

signals:
    // On the main thread, for the latest reload only.
    void loaded(Date day, const LogbookDay& logbook);

private:
    void install(quint64 generation, Date day, const LogbookDay& logbook);

    DataController& m_store;
    quint64 m_generation = 0;
    Executor m_executor;
    // Last, so it is gone (its jobs finished) before anything they use.
    QThreadPool m_pool;
};
