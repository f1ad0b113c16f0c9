#pragma once

#include <memory>

class CloudDataController;
class DataController;

// The cloud side of one command that writes the store: with a cloud database connected, the
// store's writes also go to it, and the command ends only once each has reached the cloud or
// been queued for later (a network failure). Without one it does nothing.
class CloudWrites {
public:
    explicit CloudWrites(DataController& store);
    ~CloudWrites();
    CloudWrites(const CloudWrites&) = delete;
    CloudWrites& operator=(const CloudWrites&) = delete;

private:
    DataController& m_store;
    std::shared_ptr<CloudDataController> m_engine;
};
