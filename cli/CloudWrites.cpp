#include "CloudWrites.h"

#include <QCoreApplication>

#include "cloud/CloudCredentials.h"
#include "cloud/CloudDataController.h"
#include "cloud/CloudOperationCache.h"
#include "services/ConfiguredCloud.h"
#include "settings/Settings.h"
#include "store/DataController.h"

CloudWrites::CloudWrites(DataController& store)
    : m_store(store)
{
    Settings settings;
    const QString uri = ConfiguredCloud::uri(settings);
    if (uri.isEmpty())
        return;
    m_engine = ConfiguredCloud::engine(uri, CloudCredentials::password(uri), store, settings);
    store.setCloudSync(m_engine);
}

CloudWrites::~CloudWrites()
{
    if (!m_engine)
        return;
    m_engine->waitForWork();
    // The store takes the new record names on the main thread: without them a later sync
    // would upload the same rows again.
    QCoreApplication::sendPostedEvents();
    // Queued for a replay: the file must hold it before the program ends.
    CloudOperationCache::shared().waitForWork();
    m_store.setCloudSync(nullptr);
}
