#pragma once

#include <functional>

class DataController;

// The data library's start-up and shutdown steps, at their fixed places in the launch and
// the quit of the application. Each one-time step is guarded by its settings flag.
class StartupHooks {
public:
    // What the hooks ask of the time-thief machinery, which the application owns.
    struct Thieves {
        std::function<void()> startScan;
        std::function<void()> showOnboarding;
        // Stores the stretch of attention in progress.
        std::function<void()> saveBeforeTerminate;
    };

    explicit StartupHooks(DataController& store, Thieves thieves = {});

    void runAtLaunch();
    void runBeforeQuit();

private:
    DataController& m_store;
    Thieves m_thieves;
};
