#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

#include "CloudServer.h"
#include "cloud/CloudDatabase.h"
#include "cloud/CloudPushListener.h"
#include "cloud/CloudRecordMapping.h"
#include "cloud/CloudUsers.h"
#include "cloud/PgConnection.h"

namespace {

// What the listener's thread reported, for the test's thread to wait on.
class Heard {
public:
    void changed()
    {
        const std::lock_guard lock(m_mutex);
        ++m_changes;
        m_condition.notify_all();
    }
    void listening(bool listening)
    {
        const std::lock_guard lock(m_mutex);
        m_listening = listening;
        m_condition.notify_all();
    }

    // A bound only against a hang; nothing is asserted about how long it took.
    bool waitFor(int changes, bool listening)
    {
        std::unique_lock lock(m_mutex);
        return m_condition.wait_for(lock, std::chrono::seconds(60), [&] {
            return m_changes >= changes && m_listening == listening;
        });
    }
    int changes()
    {
        const std::lock_guard lock(m_mutex);
        return m_changes;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_condition;
    int m_changes = 0;
    bool m_listening = false;
};

const CloudPushListener::Backoff quick{std::chrono::milliseconds(5), std::chrono::milliseconds(50)};

} // namespace

class CloudPushListenerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::unique_ptr<PgConnection> admin = CloudServer::connect(CloudServer::schemaUri());
        ASSERT_TRUE(admin);
        CloudError error;
        const auto added =
            CloudUsers::add(*admin, CloudServer::uniqueName(QStringLiteral("p")), 1 << 20, error);
        ASSERT_TRUE(added) << error.message.toStdString();
        uri = added->uri;
        writer = std::make_unique<CloudDatabase>(uri);
        CloudFailure failure;
        ASSERT_TRUE(writer->ensureZones({QStringLiteral("SessionsZone")}, failure));
        const std::optional<QString> secret = writer->channel(failure);
        ASSERT_TRUE(secret) << failure.message.toStdString();
        channel = *secret;
    }

    bool commitOne()
    {
        const auto outcomes = writer->save({CloudRecordMapping::sessionRecord(7, 1)});
        return outcomes.size() == 1 && outcomes[0].record;
    }

    QString uri;
    QString channel;
    std::unique_ptr<CloudDatabase> writer;
    Heard heard;
};

TEST_F(CloudPushListenerTest, HearsAnotherConnectionsCommit)
{
    CloudPushListener listener(
        uri, std::nullopt, channel, [this] { heard.changed(); },
        [this](bool listening) { heard.listening(listening); }, quick);
    ASSERT_TRUE(heard.waitFor(0, true));
    EXPECT_EQ(heard.changes(), 0);

    ASSERT_TRUE(commitOne());
    EXPECT_TRUE(heard.waitFor(1, true));
    EXPECT_EQ(listener.connections(), 1);
}

TEST_F(CloudPushListenerTest, ARestartedServerIsHeardAgainAfterOneCatchUpCall)
{
    CloudPushListener listener(
        uri, std::nullopt, channel, [this] { heard.changed(); },
        [this](bool listening) { heard.listening(listening); }, quick);
    ASSERT_TRUE(heard.waitFor(0, true));

    ASSERT_TRUE(CloudServer::stop());
    const bool dropped = heard.waitFor(0, false);
    const bool started = CloudServer::start();
    ASSERT_TRUE(dropped);
    ASSERT_TRUE(started);

    // Rebuilt, and told to catch up on what the gap hid.
    ASSERT_TRUE(heard.waitFor(1, true));
    EXPECT_EQ(heard.changes(), 1);
    EXPECT_GE(listener.connections(), 2);

    ASSERT_TRUE(commitOne());
    EXPECT_TRUE(heard.waitFor(2, true));
}

TEST_F(CloudPushListenerTest, StopsAtOnceWhileTheServerIsAway)
{
    ASSERT_TRUE(CloudServer::stop());
    {
        CloudPushListener listener(
            uri, std::nullopt, channel, [this] { heard.changed(); },
            [this](bool listening) { heard.listening(listening); }, quick);
        EXPECT_FALSE(listener.isListening());
    }
    ASSERT_TRUE(CloudServer::start());
    EXPECT_EQ(heard.changes(), 0);
}
