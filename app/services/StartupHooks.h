#pragma once

class DataController;

// The data library's start-up and shutdown steps, at their fixed places in the launch and
// the quit of the application. Each one-time step is guarded by its settings flag.
class StartupHooks {
public:
    explicit StartupHooks(DataController& store);

    void runAtLaunch();
    void runBeforeQuit();

private:
    DataController& m_store;
};
