#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFile>
#include <QProcess>
#include <QSettings>

#include "services/TimerControlService.h"
#include "shell/LaunchOptions.h"
#include "support/TestEnvironment.h"

namespace {

// The real program, started as a user or a desktop would start it.
class ProgramTest : public ::testing::Test {
protected:
    QProcess program;
    TestEnvironment env;

    void SetUp() override { program.setProgram(QStringLiteral(ZESTRA_PROGRAM)); }

    void TearDown() override
    {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished();
        }
    }

    // Runs it to its end with no display at all: the options must be answered before the
    // application would look for one.
    void runWithoutDisplay(const QStringList& arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        program.setProcessEnvironment(environment);
        program.setArguments(arguments);
        program.start();
        ASSERT_TRUE(program.waitForFinished(30000));
        ASSERT_EQ(program.exitStatus(), QProcess::NormalExit);
    }

    QString output() { return QString::fromLocal8Bit(program.readAllStandardOutput()); }
    QString errors() { return QString::fromLocal8Bit(program.readAllStandardError()); }
};

TEST_F(ProgramTest, HelpAndVersionAnswerAndExit)
{
    runWithoutDisplay({QStringLiteral("--help")});
    EXPECT_EQ(program.exitCode(), 0);
    const QString help = output();
    EXPECT_TRUE(help.startsWith(QStringLiteral("Usage: zestra [options]\n"))) << help.toStdString();
    EXPECT_TRUE(help.contains(QStringLiteral("--version"))) << help.toStdString();
    // Qt's own options pass through, but are not advertised.
    EXPECT_FALSE(help.contains(QStringLiteral("platform"))) << help.toStdString();

    runWithoutDisplay({QStringLiteral("--version")});
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(output(), QStringLiteral("Zestra %1\n").arg(QStringLiteral(ZESTRA_VERSION)));
}

TEST_F(ProgramTest, AnUnknownOptionIsRefusedWithoutStarting)
{
    runWithoutDisplay({QStringLiteral("--bogus")});
    EXPECT_EQ(program.exitCode(), 2);
    EXPECT_TRUE(errors().contains(QStringLiteral("bogus")));
    EXPECT_TRUE(output().isEmpty());
}

TEST_F(ProgramTest, TheDesktopEntryStartsTheTrayApplication)
{
    QSettings entry(QStringLiteral(ZESTRA_SOURCE_DIR "/app/data/org.zestra.Zestra.desktop"),
                    QSettings::IniFormat);
    const QStringList command =
        entry.value(QStringLiteral("Desktop Entry/Exec")).toString().split(u' ');
    ASSERT_FALSE(command.isEmpty());
    EXPECT_EQ(command.constFirst(), QStringLiteral("zestra"));
    EXPECT_EQ(LaunchOptions::parse(command).action(), LaunchOptions::Action::run);
    // Options Qt takes for itself start the application too.
    EXPECT_EQ(LaunchOptions::parse({QStringLiteral("zestra"), QStringLiteral("-platform"),
                                    QStringLiteral("offscreen"), QStringLiteral("-reverse")})
                  .action(),
              LaunchOptions::Action::run);
}

TEST_F(ProgramTest, TheRunningProgramEndsOnQuitOverTheBus)
{
    // On this test program's own bus, with its own folders.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(environment);
    program.start();
    ASSERT_TRUE(program.waitForStarted());

    QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    ASSERT_NE(bus, nullptr);
    const QString service = QLatin1String(TimerControlService::serviceName);
    ASSERT_TRUE(processEventsUntil(
        [&] {
            return bus->isServiceRegistered(service).value() ||
                   program.state() == QProcess::NotRunning;
        },
        30000));
    ASSERT_EQ(program.state(), QProcess::Running) << errors().toStdString();

    const QDBusMessage quit = QDBusMessage::createMethodCall(
        service, QLatin1String(TimerControlService::objectPath),
        QLatin1String(TimerControlService::interfaceName), QStringLiteral("Quit"));
    QDBusConnection::sessionBus().call(quit, QDBus::Block, 5000);
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
}

} // namespace
