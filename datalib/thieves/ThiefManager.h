#pragma once

#include <functional>
#include <memory>

#include <QStringList>

#include "tallycore_export.h"
#include "thieves/FrontmostSource.h"

class ActivityScanner;
class DataController;

// Where the user's attention goes. It learns at creation which applications are web
// browsers (the active thieves of kind "browser"); the catalogue's later changes reach it at
// the next start of the application.
class TALLYCORE_EXPORT ThiefManager {
public:
    // The manager of the shared store, created on first use.
    static ThiefManager& shared();

    using SourceFactory = std::function<std::unique_ptr<FrontmostSource>()>;

    // `sources` chooses the frontmost-application source once, before the first scan.
    explicit ThiefManager(DataController& store,
                          SourceFactory sources = &FrontmostSource::forSession);
    ~ThiefManager();
    ThiefManager(const ThiefManager&) = delete;
    ThiefManager& operator=(const ThiefManager&) = delete;

    // The desktop ids of the active browser thieves, in store order.
    const QStringList& browserBundlesBlacklist() const { return m_browserBundlesBlacklist; }
    bool isBrowser(const QString& identifier) const;

    // The scan, on the session's frontmost-application source chosen at the first start.
    // Start and stop may be called in any order and number from the main thread.
    void startThiefScan();
    void stopThiefScan();
    void saveBeforeTerminate();
    // False on a desktop that does not let Zestra see the frontmost application: the scan
    // then records nothing. Asking chooses the session's source, which the scan then uses.
    bool canSeeFrontmostApplication();
    bool isScanning() const;

private:
    void buildBlackLists();

    DataController& m_store;
    SourceFactory m_sources;
    QStringList m_browserBundlesBlacklist;
    // Chosen before the first start when asked about; handed to the scanner at its start.
    std::unique_ptr<FrontmostSource> m_source;
    std::unique_ptr<ActivityScanner> m_scanner;
};
