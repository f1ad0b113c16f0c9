#pragma once

class StoreContext;

// Whole-store operations: emptying the records, counting rows, forgetting cloud identities.
class StoreMaintenance {
public:
    struct Counts {
        int tasks = 0;
        int sessions = 0;
        int goals = 0;
        int thieves = 0;
        int activities = 0;
    };

    explicit StoreMaintenance(StoreContext& context);

    void truncateAll();
    Counts stats();
    void iCloudPreviousState();

private:
    int count(const char* sql);
    void run(const char* sql);

    StoreContext& m_context;
};
