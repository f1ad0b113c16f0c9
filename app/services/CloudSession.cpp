#include "services/CloudSession.h"

#include <QCoreApplication>

#include "Console.h"
#include "NotificationCenter.h"
#include "cloud/CloudCredentials.h"
#include "cloud/CloudDataController.h"
#include "cloud/CloudDatabase.h"
#include "cloud/CloudMigration.h"
#include "cloud/CloudNotifications.h"
#include "services/ConfiguredCloud.h"
#include "settings/Settings.h"
#include "store/DataController.h"
#include "store/Date.h"

CloudSession::CloudSession(DataController& store, Settings& settings, QObject* parent)
    : QObject(parent)
    , m_store(store)
    , m_settings(settings)
    , m_queue(QStringLiteral("org.zestra.Zestra./cloud_session"))
{
    // The last sync shown in the Cloud pane.
    NotificationCenter::defaultCenter().addObserver(
        QLatin1String(ZestraCloudSynchronizationEnd), this, [this](const QVariantMap& info) {
            m_settings.setString(
                QLatin1String(Settings::CloudLastSync),
                QString::number(info.value(QStringLiteral("date")).toDouble(), 'f', 3));
        });
}

CloudSession::~CloudSession()
{
    stop();
}

bool CloudSession::isConfigured() const
{
    return !ConfiguredCloud::uri(m_settings).isEmpty();
}

void CloudSession::stop()
{
    m_stopping = true;
    m_queue.sync([] {});
    if (m_engine) {
        m_store.setCloudSync(nullptr);
        m_engine->waitForWork();
        // The store takes the record names of finished saves on the main thread; at a quit
        // the event loop has already ended.
        QCoreApplication::sendPostedEvents();
        m_engine.reset();
    }
    m_stopping = false;
}

void CloudSession::start()
{
    const QString uri = ConfiguredCloud::uri(m_settings);
    // The keyring is asked through an event loop of this thread, in which a start may come
    // again: each start stops what the one before made, after the answer.
    const std::optional<QString> password =
        uri.isEmpty() ? std::nullopt : CloudCredentials::password(uri);
    stop();
    if (uri.isEmpty())
        return;
    m_engine = ConfiguredCloud::engine(uri, password, m_store, m_settings);
    m_store.setCloudSync(m_engine);
    m_queue.async([this, uri, password] {
        CloudDatabase database(uri, password);
        runStartup(database);
    });
}

void CloudSession::runStartup(CloudDatabase& database)
{
    CloudFailure failure;
    const std::optional<CloudDatabase::AccountStatus> account = database.accountStatus(failure);
    if (!account) {
        // Out of reach: the writes wait in the queue; the next start or a push tries again.
        Console::line(QStringLiteral("err @ iCloudConnectionOnline(completionHandler:) -> ") +
                      failure.message);
        return;
    }
    const bool available = *account == CloudDatabase::AccountStatus::Available;
    QMetaObject::invokeMethod(this, [this, available] { emit accountChecked(available); });
    if (!available) {
        Console::line(QStringLiteral("No se ha conectado a iCloud"));
        return;
    }
    if (m_stopping)
        return;
    // The history goes up before the replay, so a replayed save finds its row linked.
    if (!m_settings.boolValue(QLatin1String(Settings::MigratedToCloud)))
        m_settings.setBool(QLatin1String(Settings::MigratedToCloud),
                           CloudMigration(m_store, database).migrateToCloud());
    if (m_stopping)
        return;
    m_engine->processPendingOperations();
    m_engine->subscribeToCloudEvents([this](bool subscribed) {
        m_settings.setBool(QLatin1String(Settings::SubscribedToCloudChanges), subscribed);
    });
    CloudMigration(m_store, database).deletePrevoiusWeekWorkActivity(Date::now());
    m_engine->fetchChanges();
}

void CloudSession::syncNow()
{
    if (!m_engine) {
        start();
        return;
    }
    m_engine->processPendingOperations();
    m_engine->fetchChanges();
}

void CloudSession::checkAccount(std::function<void(bool available)> answer)
{
    const QString uri = ConfiguredCloud::uri(m_settings);
    if (uri.isEmpty()) {
        answer(true);
        return;
    }
    const std::optional<QString> password = CloudCredentials::password(uri);
    m_queue.async([uri, password, answer = std::move(answer)] {
        CloudFailure failure;
        const std::optional<CloudDatabase::AccountStatus> account =
            CloudDatabase(uri, password).accountStatus(failure);
        // A server out of reach says nothing about the account: the internet banner speaks.
        answer(!account || *account == CloudDatabase::AccountStatus::Available);
    });
}

void CloudSession::waitForWork()
{
    m_queue.sync([] {});
    if (m_engine)
        m_engine->waitForWork();
}
