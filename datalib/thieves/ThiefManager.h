#pragma once

#include <memory>

#include <QStringList>

#include "tallycore_export.h"

class ActivityScanner;
class DataController;

// Where the user's attention goes. It learns at creation which applications are web
// browsers (the active thieves of kind "browser"); the catalogue's later changes reach it at
// the next start of the application.
class TALLYCORE_EXPORT ThiefManager {
public:
    // The manager of the shared store, created on first use.
    static ThiefManager& shared();

    explicit ThiefManager(DataController& store);
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

private:
    void buildBlackLists();

    DataController& m_store;
    QStringList m_browserBundlesBlacklist;
    std::unique_ptr<ActivityScanner> m_scanner;
};
