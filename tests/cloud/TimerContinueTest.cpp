#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>

#include "CloudServer.h"
#include "cloud/CloudDatabase.h"
#include "cloud/CloudHandoff.h"
#include "cloud/CloudUsers.h"
#include "cloud/PgConnection.h"
#include "services/TimerControl.h"
#include "services/TimerControlService.h"
#include "store/Date.h"
#include "support/PrivateBus.h"
#include "support/TestEnvironment.h"

namespace {

// The running application, as far as `timer continue` reaches it.
class ContinuingControl : public TimerControl {
public:
    void toggle() override {}
    void resetTimer() override {}
    void skipFreeTime() override {}
    void resetSession() override {}
    void resetGoal() override {}
    void showPopover() override {}
    void quit() override {}
    QVariantMap state() override { return {}; }
    bool continueCountdown(const QVariantMap& userInfo) override
    {
        continued.append(userInfo);
        return true;
    }
    QList<QVariantMap> continued;
};

// zestra-cli timer continue: the other computer's countdown, from the cloud to the running
// application.
class TimerContinueTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(bus.isRunning());
        userUri = CloudServer::newUserUri(QStringLiteral("cont"));
        ASSERT_FALSE(userUri.isEmpty());
    }

    int cli(const QStringList& arguments, QString* out = nullptr)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
        process.setProcessEnvironment(environment);
        // This thread answers the program's D-Bus call meanwhile.
        QSignalSpy finished(&process, &QProcess::finished);
        process.start(QStringLiteral(ZESTRA_CLI_PATH), arguments);
        EXPECT_TRUE(finished.wait(60000));
        if (out)
            *out = QString::fromUtf8(process.readAllStandardOutput());
        lastError = process.readAllStandardError().toStdString();
        return process.exitCode();
    }

    TestEnvironment env;
    PrivateBus bus;
    QString userUri;
    std::string lastError;
};

TEST_F(TimerContinueTest, TheApplicationContinuesTheOtherComputersCountdown)
{
    ContinuingControl control;
    TimerControlService service(
        QDBusConnection::connectToBus(bus.address(), QStringLiteral("app")));
    ASSERT_TRUE(service.start(control));
    EXPECT_EQ(cli({QStringLiteral("timer"), QStringLiteral("continue")}), 1);
    ASSERT_EQ(cli({QStringLiteral("cloud"), QStringLiteral("connect"), userUri}), 0);
    // Connected, but no other computer has published anything yet.
    EXPECT_EQ(cli({QStringLiteral("timer"), QStringLiteral("continue")}), 1);

    CloudDatabase desk(userUri);
    CloudHandoff deskHandoff(desk, QStringLiteral("desk-id"), QStringLiteral("desk"));
    CloudFailure failure;
    // The program reads the real clock, not the test's.
    const double now = Date::fromSecsSince1970(QDateTime::currentMSecsSinceEpoch() / 1000.0)
                           .timeIntervalSinceReferenceDate();
    ASSERT_TRUE(deskHandoff.publish({{QStringLiteral("current_time"), 600},
                                     {QStringLiteral("task"), QStringLiteral("Write")},
                                     {QStringLiteral("current_session"), 1},
                                     {QStringLiteral("current_goal"), 3},
                                     {QStringLiteral("on_activity"), true},
                                     {QStringLiteral("is_paused"), true}},
                                    900, now, failure))
        << failure.message.toStdString();

    QString out;
    ASSERT_EQ(cli({QStringLiteral("timer"), QStringLiteral("continue")}, &out), 0) << lastError;
    ASSERT_EQ(control.continued.size(), 1);
    const QVariantMap& received = control.continued.first();
    EXPECT_EQ(received.value(QStringLiteral("task")).toString(), QStringLiteral("Write"));
    EXPECT_EQ(received.value(QStringLiteral("current_time")), QVariant(600));
    EXPECT_EQ(received.value(QStringLiteral("is_paused")), QVariant(true));
    const QJsonObject printed = QJsonDocument::fromJson(out.toUtf8()).object();
    EXPECT_EQ(printed.value(QStringLiteral("from")).toString(), QStringLiteral("desk"));
}

} // namespace
