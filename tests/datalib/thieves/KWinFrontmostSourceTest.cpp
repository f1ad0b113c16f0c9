#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

#include "Console.h"
#include "datalib/thieves/KWinScriptingStandIn.h"
#include "support/TestEnvironment.h"
#include "thieves/KWinFrontmostSource.h"

void PrintTo(KWinScriptingStandIn::Starts starts, std::ostream* out)
{
    *out << (starts == KWinScriptingStandIn::Starts::byScriptObject ? "Script.run()"
                                                                    : "Scripting.start()");
}

namespace {

using Starts = KWinScriptingStandIn::Starts;

const QString plugin = QLatin1String(KWinFrontmostSource::pluginName);

class KWinFrontmostSourceTest : public ::testing::TestWithParam<Starts> {
protected:
    void SetUp() override
    {
        env = std::make_unique<TestEnvironment>();
        const QString dir = env->dataHome() + QStringLiteral("/applications");
        QDir().mkpath(dir);
        QFile entry(dir + QStringLiteral("/org.kde.dolphin.desktop"));
        ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
        entry.write("[Desktop Entry]\nType=Application\nName=Dolphin\nIcon=system-file-manager\n");
    }

    std::unique_ptr<TestEnvironment> env;
};

TEST_P(KWinFrontmostSourceTest, LoadsTheScriptFollowsItsReportsAndUnloadsIt)
{
    KWinScriptingStandIn kwin(GetParam());
    ASSERT_TRUE(kwin.appear());
    auto source = std::make_unique<KWinFrontmostSource>();
    ASSERT_TRUE(source->canSee()) << kwin.calls().join('\n').toStdString();

    QStringList started = {"/Scripting unloadScript " + plugin, "/Scripting loadScript "};
    started += GetParam() == Starts::byScriptObject
                   ? QStringList{"/Scripting/Script1 run"}
                   : QStringList{"/Scripting/Script1 run", "/1 run", "/Scripting start"};
    QStringList calls = kwin.calls();
    ASSERT_EQ(calls.size(), started.size()) << calls.join('\n').toStdString();
    // loadScript's first argument is the file, which lies in a folder of its own.
    calls[1] = calls[1].section(QLatin1Char(' '), 0, 1) + QLatin1Char(' ');
    EXPECT_EQ(calls, started);
    const QString script = kwin.lastScript();
    EXPECT_TRUE(script.contains(QLatin1String("workspace.windowActivated")));
    EXPECT_TRUE(script.contains(QLatin1String("workspace.clientActivated")));
    EXPECT_TRUE(script.contains(QLatin1String("desktopFileName")));
    EXPECT_EQ(source->frontmost(), std::nullopt) << "nothing reported yet";

    ASSERT_TRUE(kwin.reportActiveWindow(QStringLiteral("org.kde.dolphin")));
    std::optional<FrontmostApplication> front = source->frontmost();
    ASSERT_TRUE(front.has_value());
    EXPECT_EQ(front->identifier, QStringLiteral("org.kde.dolphin"));
    EXPECT_EQ(front->name, QStringLiteral("Dolphin"));
    EXPECT_EQ(front->icon, QStringLiteral("system-file-manager"));

    ASSERT_TRUE(kwin.reportActiveWindow(QStringLiteral("org.example.Unlisted")));
    front = source->frontmost();
    ASSERT_TRUE(front.has_value());
    EXPECT_EQ(front->identifier, std::nullopt);
    EXPECT_EQ(front->name, QStringLiteral("org.example.Unlisted"));
    ASSERT_TRUE(kwin.reportActiveWindow(QString()));
    EXPECT_EQ(source->frontmost(), std::nullopt) << "no window is active";

    const int before = static_cast<int>(kwin.calls().size());
    source.reset();
    EXPECT_EQ(kwin.calls().mid(before), QStringList{"/Scripting unloadScript " + plugin});
    EXPECT_FALSE(kwin.reportActiveWindow(QStringLiteral("org.kde.dolphin")))
        << "the report object goes with the source";
}

INSTANTIATE_TEST_SUITE_P(Plasma, KWinFrontmostSourceTest,
                         ::testing::Values(Starts::byScriptObject, Starts::byScriptingStart),
                         [](const ::testing::TestParamInfo<Starts>& info) {
                             return info.param == Starts::byScriptObject ? "ScriptObjectRun"
                                                                         : "ScriptingStart";
                         });

using KWinFrontmostSourceFailureTest = KWinFrontmostSourceTest;

TEST_F(KWinFrontmostSourceFailureTest, NoKWinOrARefusedScriptCannotSee)
{
    KWinFrontmostSource alone;
    EXPECT_FALSE(alone.canSee());
    EXPECT_EQ(alone.frontmost(), std::nullopt);

    KWinScriptingStandIn kwin(Starts::byScriptObject, true);
    ASSERT_TRUE(kwin.appear());
    {
        KWinFrontmostSource refused;
        EXPECT_FALSE(refused.canSee());
    }
    EXPECT_EQ(kwin.calls().size(), 2)
        << "nothing to run or unload: " << kwin.calls().join('\n').toStdString();
}

TEST_F(KWinFrontmostSourceFailureTest, AKWinThatQuitsIsNoticedQuietly)
{
    KWinScriptingStandIn kwin(Starts::byScriptObject);
    ASSERT_TRUE(kwin.appear());
    auto source = std::make_unique<KWinFrontmostSource>();
    ASSERT_TRUE(kwin.reportActiveWindow(QStringLiteral("org.kde.dolphin")));
    ASSERT_TRUE(source->frontmost().has_value());

    QStringList lines;
    Console::setSink([&lines](const QString& line) { lines.append(line); });
    kwin.quit();
    QDeadlineTimer deadline(10000);
    while (source->canSee() && !deadline.hasExpired())
        QThread::msleep(1);
    EXPECT_FALSE(source->canSee());
    EXPECT_EQ(source->frontmost(), std::nullopt);
    const int before = static_cast<int>(kwin.calls().size());
    source.reset();
    Console::setSink(nullptr);
    EXPECT_EQ(kwin.calls().size(), before) << "no unload asked of a KWin that is gone";
    EXPECT_TRUE(lines.isEmpty()) << lines.join('\n').toStdString();
}

TEST_F(KWinFrontmostSourceFailureTest, TheSessionFallsBackToKWinWithoutTheWlrootsList)
{
    KWinScriptingStandIn kwin(Starts::byScriptObject);
    ASSERT_TRUE(kwin.appear());
    const QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
    qputenv("WAYLAND_DISPLAY", (env->root() + QStringLiteral("/no-compositor")).toUtf8());
    std::unique_ptr<FrontmostSource> source = FrontmostSource::forSession();
    qputenv("WAYLAND_DISPLAY", wayland);
    EXPECT_NE(dynamic_cast<KWinFrontmostSource*>(source.get()), nullptr);
    EXPECT_TRUE(source->canSee());
}

} // namespace
