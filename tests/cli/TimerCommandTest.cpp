#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>

#include "NotificationCenter.h"
#include "services/Handoff.h"
#include "services/TimerControl.h"
#include "services/TimerControlService.h"
#include "support/PrivateBus.h"
#include "support/TestEnvironment.h"

namespace {

// Stands in for the running application and records what it was asked.
class RecordingControl : public TimerControl {
public:
    void toggle() override { calls.append(QStringLiteral("toggle")); }
    void resetTimer() override { calls.append(QStringLiteral("resetTimer")); }
    void skipFreeTime() override { calls.append(QStringLiteral("skipFreeTime")); }
    void resetSession() override { calls.append(QStringLiteral("resetSession")); }
    void resetGoal() override { calls.append(QStringLiteral("resetGoal")); }
    void showPopover() override { calls.append(QStringLiteral("showPopover")); }
    void quit() override { calls.append(QStringLiteral("quit")); }
    QVariantMap state() override
    {
        return {{QStringLiteral("current_time"), 61},
                {QStringLiteral("task"), task ? QVariant(*task) : QVariant::fromValue(nullptr)},
                {QStringLiteral("current_session"), 2},
                {QStringLiteral("current_goal"), 5},
                {QStringLiteral("on_activity"), true},
                {QStringLiteral("is_paused"), false},
                {QStringLiteral("remaining"), 1439},
                {QStringLiteral("status_title"), QStringLiteral(" 23:59")}};
    }
    bool continueCountdown(const QVariantMap& userInfo) override
    {
        calls.append(QStringLiteral("continue ") +
                     userInfo.value(QStringLiteral("task")).toString());
        return true;
    }
    QStringList calls;
    std::optional<QString> task;
};

class TimerCommandTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(bus.isRunning()); }

    struct Run {
        int exitCode;
        QString out;
        QString err;
    };

    // Runs zestra-cli on the private bus while this thread keeps serving D-Bus calls.
    Run cli(const QStringList& arguments)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
        process.setProcessEnvironment(environment);
        QSignalSpy finished(&process, &QProcess::finished);
        process.start(QStringLiteral(ZESTRA_CLI_PATH), arguments);
        EXPECT_TRUE(finished.wait(20000));
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    QDBusConnection connect(const QString& name)
    {
        return QDBusConnection::connectToBus(bus.address(), name);
    }

    TestEnvironment env;
    PrivateBus bus;
};

TEST_F(TimerCommandTest, StatusPrintsTheStateAndActionsReachTheApplication)
{
    RecordingControl control;
    TimerControlService service(connect(QStringLiteral("app")));
    ASSERT_TRUE(service.start(control));

    const Run status = cli({QStringLiteral("timer"), QStringLiteral("status")});
    ASSERT_EQ(status.exitCode, 0) << status.err.toStdString();
    const QJsonObject state = QJsonDocument::fromJson(status.out.toUtf8()).object();
    EXPECT_EQ(state.value(QStringLiteral("remaining")).toInt(), 1439);
    EXPECT_EQ(state.value(QStringLiteral("status_title")).toString(), QStringLiteral(" 23:59"));
    EXPECT_TRUE(state.value(QStringLiteral("task")).isNull());
    EXPECT_EQ(state.value(QStringLiteral("current_goal")).toInt(), 5);
    EXPECT_FALSE(state.value(QStringLiteral("is_paused")).toBool());

    for (const char* action : {"toggle", "reset", "skip", "show"})
        EXPECT_EQ(cli({QStringLiteral("timer"), QString::fromLatin1(action)}).exitCode, 0);
    EXPECT_EQ(control.calls,
              QStringList({QStringLiteral("toggle"), QStringLiteral("resetTimer"),
                           QStringLiteral("skipFreeTime"), QStringLiteral("showPopover")}));
}

TEST_F(TimerCommandTest, WatchPrintsALineAtOnceAndOnEveryChangeUntilZestraQuits)
{
    RecordingControl control;
    auto service = std::make_unique<TimerControlService>(connect(QStringLiteral("watched")));
    ASSERT_TRUE(service->start(control));

    QProcess watch;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
    watch.setProcessEnvironment(environment);
    watch.start(QStringLiteral(ZESTRA_CLI_PATH),
                {QStringLiteral("timer"), QStringLiteral("watch")});
    auto nextLine = [&watch]() -> QJsonObject {
        QSignalSpy output(&watch, &QProcess::readyReadStandardOutput);
        while (!watch.canReadLine()) {
            if (!output.wait(10000))
                return {};
        }
        return QJsonDocument::fromJson(watch.readLine()).object();
    };

    const QJsonObject first = nextLine();
    EXPECT_EQ(first.value(QStringLiteral("remaining")).toInt(), 1439);
    EXPECT_TRUE(first.value(QStringLiteral("task")).isNull());

    // What the hand-off record posts when the task, the pause or the counters change.
    control.task = QStringLiteral("Write report");
    NotificationCenter::defaultCenter().post(QLatin1String(Handoff::changedNotification));
    EXPECT_EQ(nextLine().value(QStringLiteral("task")).toString(), QStringLiteral("Write report"));

    QSignalSpy finished(&watch, &QProcess::finished);
    service.reset();
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(watch.exitCode(), 1);
    EXPECT_TRUE(watch.readAllStandardError().contains("quit"));
}

TEST_F(TimerCommandTest, TheNameMakesASingleInstance)
{
    RecordingControl first;
    RecordingControl second;
    TimerControlService running(connect(QStringLiteral("first")));
    TimerControlService another(connect(QStringLiteral("second")));
    ASSERT_TRUE(running.start(first));
    EXPECT_FALSE(another.start(second));
}

TEST_F(TimerCommandTest, WithoutTheApplicationTheCommandFailsClearly)
{
    const Run run = cli({QStringLiteral("timer"), QStringLiteral("status")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.contains(QStringLiteral("not running"))) << run.err.toStdString();
    EXPECT_EQ(cli({QStringLiteral("timer"), QStringLiteral("dance")}).exitCode, 2);
}

} // namespace
