#include <gtest/gtest.h>

#include <functional>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

#include "datalib/store/StoreFixture.h"
#include "datalib/thieves/HeadlessSway.h"
#include "support/ManualClock.h"
#include "thieves/ActivityScanner.h"
#include "thieves/BrowserScripts.h"
#include "thieves/WlrootsFrontmostSource.h"

namespace {

struct Seen {
    std::optional<QString> identifier;
    QString name;
    bool operator==(const Seen&) const = default;
};

void PrintTo(const Seen& seen, std::ostream* out)
{
    *out << '{' << seen.identifier.value_or("<none>").toStdString() << ", "
         << seen.name.toStdString() << '}';
}

std::optional<Seen> seen(FrontmostSource& source)
{
    const std::optional<FrontmostApplication> application = source.frontmost();
    if (!application)
        return std::nullopt;
    return Seen{application->identifier, application->name};
}

class WlrootsFrontmostSourceTest : public StoreFixture {
protected:
    void SetUp() override
    {
        StoreFixture::SetUp();
        sway = std::make_unique<HeadlessSway>();
        if (!sway->isRunning())
            GTEST_SKIP() << "no headless sway on this machine: " << sway->error().toStdString();
        const QString dir = env->dataHome() + QStringLiteral("/applications");
        QDir().mkpath(dir);
        QFile entry(dir + QStringLiteral("/org.example.Chat.desktop"));
        ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
        entry.write("[Desktop Entry]\nType=Application\nName=Chat\nIcon=chat-icon\n");
    }

    void TearDown() override
    {
        scanner.reset();
        for (const std::unique_ptr<QProcess>& window : windows) {
            window->kill();
            window->waitForFinished();
        }
        windows.clear();
        sway.reset();
        StoreFixture::TearDown();
    }

    void open(const char* appId, const char* title)
    {
        windows.push_back(sway->openWindow(QLatin1String(appId), QLatin1String(title)));
    }

    // Samples `source` until it reports `expected`: the compositor answers in its own time.
    static bool follows(FrontmostSource& source, const std::optional<Seen>& expected)
    {
        QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired()) {
            if (seen(source) == expected)
                return true;
            QThread::msleep(2);
        }
        return false;
    }

    const Seen chat{QStringLiteral("org.example.Chat"), QStringLiteral("Chat")};
    const Seen oddity{std::nullopt, QStringLiteral("org.example.Oddity")};
    std::unique_ptr<HeadlessSway> sway;
    std::vector<std::unique_ptr<QProcess>> windows;
    std::unique_ptr<ActivityScanner> scanner;
};

TEST_F(WlrootsFrontmostSourceTest, FollowsTheFocusedToplevelAndItsDesktopEntry)
{
    WlrootsFrontmostSource source(sway->display());
    ASSERT_TRUE(source.canSee());
    EXPECT_EQ(seen(source), std::nullopt) << "no window yet";

    open("org.example.Chat", "Lobby");
    ASSERT_TRUE(follows(source, chat));
    EXPECT_EQ(source.frontmost()->icon, QStringLiteral("chat-icon"));
    open("org.example.Oddity", "Odd one");
    ASSERT_TRUE(follows(source, oddity)) << "a new window takes the focus";

    ASSERT_TRUE(sway->command(QStringLiteral("[app_id=\"org.example.Chat\"] focus")));
    EXPECT_TRUE(follows(source, chat));
    ASSERT_TRUE(sway->command(QStringLiteral("[app_id=\"org.example.Oddity\"] focus")));
    EXPECT_TRUE(follows(source, oddity));

    // A source opened now learns the windows already there.
    WlrootsFrontmostSource late(sway->display());
    EXPECT_EQ(seen(late), oddity);

    windows.back()->kill();
    windows.back()->waitForFinished();
    EXPECT_TRUE(follows(source, chat)) << "the closed window's neighbour takes the focus";
    EXPECT_TRUE(source.canSee());
}

TEST_F(WlrootsFrontmostSourceTest, ScannerStoresEachFocusStretch)
{
    // A second connection that has seen a change proves it reached the scanner's too.
    WlrootsFrontmostSource witness(sway->display());
    // One window at a time: each takes the focus as sway maps it.
    open("org.example.Chat", "Lobby");
    ASSERT_TRUE(follows(witness, chat));
    open("org.example.Oddity", "Odd one");
    ASSERT_TRUE(follows(witness, oddity));
    const double t0 = env->clock().now();
    scanner = std::make_unique<ActivityScanner>(
        *store, QStringList(), std::make_unique<WlrootsFrontmostSource>(sway->display()),
        std::make_unique<BrowserScripts>());
    ASSERT_TRUE(scanner->canSee());
    scanner->start();
    scanner->waitForSamples();
    for (const Seen* next : {&chat, &chat, &oddity, &chat}) {
        const QString appId = next->identifier.value_or(QStringLiteral("org.example.Oddity"));
        ASSERT_TRUE(sway->command(QStringLiteral("[app_id=\"%1\"] focus").arg(appId)));
        ASSERT_TRUE(follows(witness, *next));
        env->clock().advance(1);
        scanner->waitForSamples();
    }
    env->clock().advance(1);
    scanner->waitForSamples();
    scanner->stop();

    QList<std::tuple<QString, QString, double, double>> stored;
    for (const WorkActivity& a : store->workActivities().value_or(QList<WorkActivity>()))
        stored.append({a.identifier.value_or("<none>"), a.name.value_or("<none>"), a.startTime - t0,
                       a.endTime - t0});
    const QList<std::tuple<QString, QString, double, double>> expected = {
        {"", "org.example.Oddity", 0, 1},
        {"org.example.Chat", "Chat", 1, 3},
        {"", "org.example.Oddity", 3, 4},
        {"org.example.Chat", "Chat", 4, 5},
    };
    EXPECT_EQ(stored, expected);
}

TEST_F(WlrootsFrontmostSourceTest, ACompositorThatGoesAwayStopsTheSightQuietly)
{
    open("org.example.Chat", "Lobby");
    WlrootsFrontmostSource witness(sway->display());
    ASSERT_TRUE(follows(witness, chat));
    scanner = std::make_unique<ActivityScanner>(
        *store, QStringList(), std::make_unique<WlrootsFrontmostSource>(sway->display()),
        std::make_unique<BrowserScripts>());
    scanner->start();
    scanner->waitForSamples();
    consoleLines.clear();

    // Events sway sent as it quit may still be read before the closed socket is.
    sway->quit();
    for (int i = 0; i < 20; ++i) {
        env->clock().advance(1);
        scanner->waitForSamples();
        witness.frontmost();
    }
    EXPECT_EQ(witness.frontmost(), std::nullopt);
    EXPECT_FALSE(witness.canSee());
    EXPECT_FALSE(scanner->canSee());
    scanner->stop();
    EXPECT_TRUE(consoleLines.isEmpty()) << consoleLines.join('\n').toStdString();
    // What was in front before the compositor went is kept, up to the stop.
    ASSERT_EQ(store->workActivities()->size(), 1);
    EXPECT_EQ(store->workActivities()->first().identifier, QStringLiteral("org.example.Chat"));
}

TEST_F(WlrootsFrontmostSourceTest, TheSessionPicksTheCompositorsListOverAnythingElse)
{
    const QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
    const QByteArray x11 = qgetenv("DISPLAY");
    qunsetenv("DISPLAY");
    qputenv("WAYLAND_DISPLAY", sway->display());
    const std::unique_ptr<FrontmostSource> onSway = FrontmostSource::forSession();
    // A socket with no compositor behind it, no KWin on the bus and no X display: blind.
    qputenv("WAYLAND_DISPLAY", sway->display() + "-none");
    const std::unique_ptr<FrontmostSource> nowhere = FrontmostSource::forSession();
    qputenv("WAYLAND_DISPLAY", wayland);
    qputenv("DISPLAY", x11);

    EXPECT_NE(dynamic_cast<WlrootsFrontmostSource*>(onSway.get()), nullptr);
    EXPECT_TRUE(onSway->canSee());
    EXPECT_FALSE(nowhere->canSee());
    EXPECT_EQ(nowhere->frontmost(), std::nullopt);
}

} // namespace
