#include <charconv>
#include <csignal>
#include <mutex>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

#include "DesktopNotificationCenter.h"
#include "UserNotificationCenter.h"
#include "support/FakeNotificationServer.h"
#include "support/PrivateBus.h"
#include "support/TestEnvironment.h"

namespace {

// --- identifiers ---------------------------------------------------------------------------

struct IdentifierRow {
    const char* name;
    const char* prefix;
    double seconds;
    const char* expected;
};

TEST(UserNotificationIdentifier, IsThePrefixAndTheShortestExactSeconds)
{
    const IdentifierRow rows[] = {
        {"microseconds", "velloran_pomodoro_", 1765105200.123456,
         "velloran_pomodoro_1765105200.123456"},
        {"whole seconds", "velloran_pomodoro_session_", 1765105200.0,
         "velloran_pomodoro_session_1765105200"},
        {"round number stays fixed notation", "velloran_pomodoro_", 1700000000.0,
         "velloran_pomodoro_1700000000"},
        {"half second", "velloran_pomodoro_session_", 1765105200.5,
         "velloran_pomodoro_session_1765105200.5"},
        {"needs all seventeen digits", "velloran_pomodoro_", 0.1 + 0.2,
         "velloran_pomodoro_0.30000000000000004"},
        {"before 1970", "velloran_pomodoro_", -86400.25, "velloran_pomodoro_-86400.25"},
        {"zero", "velloran_pomodoro_", 0.0, "velloran_pomodoro_0"},
    };
    for (const IdentifierRow& row : rows) {
        SCOPED_TRACE(row.name);
        const QString identifier =
            UserNotification::identifierWithPrefix(QString::fromLatin1(row.prefix), row.seconds);
        EXPECT_EQ(identifier, QString::fromLatin1(row.expected));

        const std::string digits = identifier.mid(qstrlen(row.prefix)).toStdString();
        double readBack = -1;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), readBack);
        EXPECT_EQ(error, std::errc());
        EXPECT_EQ(end, digits.data() + digits.size());
        EXPECT_EQ(readBack, row.seconds);
    }
}

// --- delivery --------------------------------------------------------------------------------

// Every message Qt logs while it exists, from any thread.
class CapturedMessages {
public:
    CapturedMessages() { m_previous = qInstallMessageHandler(&CapturedMessages::handle); }
    ~CapturedMessages() { qInstallMessageHandler(m_previous); }

    static QStringList lines()
    {
        std::lock_guard lock(mutex());
        return storage();
    }
    static void clear()
    {
        std::lock_guard lock(mutex());
        storage().clear();
    }

private:
    static void handle(QtMsgType, const QMessageLogContext&, const QString& message)
    {
        std::lock_guard lock(mutex());
        storage().append(message);
    }
    static std::mutex& mutex()
    {
        static std::mutex m;
        return m;
    }
    static QStringList& storage()
    {
        static QStringList lines;
        return lines;
    }

    QtMessageHandler m_previous = nullptr;
};

class DesktopNotificationCenterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(bus.isRunning()) << "dbus-daemon did not start";
        // Before anything in this process opens the session bus, which Qt keeps for good.
        m_previousSessionBus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
        m_hadSessionBus = qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS");
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus.address().toUtf8());
        CapturedMessages::clear();
    }

    void TearDown() override
    {
        if (m_hadSessionBus)
            qputenv("DBUS_SESSION_BUS_ADDRESS", m_previousSessionBus);
        else
            qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    }

    static bool repliesArrived(const DesktopNotificationCenter& center)
    {
        return processEventsUntil([&center] { return center.callsInFlight() == 0; });
    }

    TestEnvironment env;
    PrivateBus bus;
    CapturedMessages messages;

private:
    QByteArray m_previousSessionBus;
    bool m_hadSessionBus = false;
};

TEST_F(DesktopNotificationCenterTest, NotifyCarriesTheTextsTheApplicationAndTheIdentifier)
{
    FakeNotificationServer server(bus.address());
    ASSERT_TRUE(server.isRegistered());
    DesktopNotificationCenter center(bus.address());

    center.deliver({QStringLiteral("velloran_pomodoro_1765105200.5"),
                    QStringLiteral("Pomodoro finished"),
                    QStringLiteral("Time for a break"),
                    {}});

    ASSERT_TRUE(server.waitForNotifications(1));
    const ReceivedNotification received = server.received().at(0);
    EXPECT_EQ(received.appName, QStringLiteral("Zestra"));
    EXPECT_EQ(received.replacesId, 0u);
    EXPECT_EQ(received.appIcon, QStringLiteral("org.zestra.Zestra"));
    EXPECT_EQ(received.summary, QStringLiteral("Pomodoro finished"));
    EXPECT_EQ(received.body, QStringLiteral("Time for a break"));
    EXPECT_TRUE(received.actions.isEmpty());
    EXPECT_EQ(received.expireTimeout, -1);
    EXPECT_EQ(received.hints.value(QStringLiteral("desktop-entry")).toString(),
              QStringLiteral("org.zestra.Zestra"));
    EXPECT_EQ(received.hints.value(QStringLiteral("x-zestra-identifier")).toString(),
              QStringLiteral("velloran_pomodoro_1765105200.5"));
    EXPECT_FALSE(received.image.has_value());

    ASSERT_TRUE(repliesArrived(center));
    EXPECT_EQ(CapturedMessages::lines(), QStringList());
}

TEST_F(DesktopNotificationCenterTest, TheSharedCentreUsesTheSessionBusUntilReplaced)
{
    if (!QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "the session bus was opened earlier in this process, on a bus now gone";
    FakeNotificationServer server(bus.address());
    ASSERT_TRUE(server.isRegistered());

    struct Recorder : UserNotificationCenter {
        void deliver(const UserNotification& notification) override
        {
            titles.append(notification.title);
        }
        QStringList titles;
    } recorder;
    UserNotificationCenter::setShared(&recorder);
    UserNotificationCenter::shared().deliver({{}, QStringLiteral("kept"), {}, {}});
    UserNotificationCenter::setShared(nullptr);
    EXPECT_EQ(recorder.titles, QStringList{QStringLiteral("kept")});

    UserNotificationCenter::shared().deliver({{}, QStringLiteral("shown"), {}, {}});
    ASSERT_TRUE(server.waitForNotifications(1));
    EXPECT_EQ(server.received().at(0).summary, QStringLiteral("shown"));
    EXPECT_FALSE(server.received().at(0).hints.contains(QStringLiteral("x-zestra-identifier")));
}

TEST_F(DesktopNotificationCenterTest, DeliverReturnsBeforeTheServerAnswers)
{
    FakeNotificationServer server(bus.address());
    ASSERT_TRUE(server.isRegistered());
    server.holdReplies();
    DesktopNotificationCenter center(bus.address());

    center.deliver({QStringLiteral("held"), QStringLiteral("Held"), {}, {}});

    // A caller that waited for the reply would only get here after the call timed out.
    ASSERT_TRUE(server.waitForNotifications(1));
    EXPECT_EQ(center.callsInFlight(), 1);
    server.release();
    EXPECT_TRUE(repliesArrived(center));
    EXPECT_EQ(CapturedMessages::lines(), QStringList());
}

TEST_F(DesktopNotificationCenterTest, WithoutAServerNothingIsShownAndOneLineIsLogged)
{
    DesktopNotificationCenter center(bus.address());

    for (int i = 0; i < 3; ++i)
        center.deliver({QStringLiteral("lost"), QStringLiteral("Lost"), {}, {}});

    ASSERT_TRUE(repliesArrived(center));
    EXPECT_EQ(CapturedMessages::lines().size(), 1)
        << CapturedMessages::lines().join('\n').toStdString();
}

TEST_F(DesktopNotificationCenterTest, WithoutABusNothingIsShownAndOneLineIsLogged)
{
    qputenv("DBUS_SESSION_BUS_ADDRESS",
            QStringLiteral("unix:path=%1/missing").arg(bus.directory()).toUtf8());
    DesktopNotificationCenter center(qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS"));

    center.deliver({QStringLiteral("nowhere"), QStringLiteral("Nowhere"), {}, {}});
    center.deliver({QStringLiteral("nowhere"), QStringLiteral("Nowhere"), {}, {}});

    EXPECT_EQ(center.callsInFlight(), 0);
    EXPECT_EQ(CapturedMessages::lines().size(), 1)
        << CapturedMessages::lines().join('\n').toStdString();
}

// --- content images ----------------------------------------------------------------------------

// 3 x 2 RGBA: opaque red, half-transparent green, opaque blue; second row opaque blue.
const QByteArray kPng = QByteArray::fromHex(
    "89504e470d0a1a0a0000000d49484452000000030000000208060000009d74661a000000164944415478"
    "da63f8cfc0f01f081b801490092620180089990b768dcc36c80000000049454e44ae426082");

// Twice as tall as wide, so rendering into a square leaves transparent margins left and right.
const QByteArray kSvg = R"(<?xml version="1.0"?>
<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 10 20" width="10" height="20">
  <rect x="0" y="0" width="10" height="20" fill="#0000ff"/>
</svg>)";

struct Pixel {
    int x;
    int y;
    QByteArray rgba; // hex
};

struct ImageRow {
    const char* name;
    QByteArray contentImage;
    bool expectImage;
    int width;
    int height;
    QList<Pixel> pixels;
};

void PrintTo(const ImageRow& row, std::ostream* out)
{
    *out << row.name;
}

class ContentImageTest : public DesktopNotificationCenterTest,
                         public ::testing::WithParamInterface<ImageRow> {};

TEST_P(ContentImageTest, ImageDataHintHoldsTheDecodedPixels)
{
    const ImageRow& row = GetParam();
    FakeNotificationServer server(bus.address());
    ASSERT_TRUE(server.isRegistered());
    DesktopNotificationCenter center(bus.address());

    center.deliver({QStringLiteral("image"), QStringLiteral("Image"), {}, row.contentImage});

    ASSERT_TRUE(server.waitForNotifications(1));
    const ReceivedNotification received = server.received().at(0);
    EXPECT_EQ(received.summary, QStringLiteral("Image"));
    ASSERT_EQ(received.image.has_value(), row.expectImage);
    if (!row.expectImage)
        return;
    const ReceivedImage& image = *received.image;
    EXPECT_EQ(image.signature, QStringLiteral("(iiibiiay)"));
    EXPECT_EQ(image.width, row.width);
    EXPECT_EQ(image.height, row.height);
    EXPECT_EQ(image.rowstride, row.width * 4);
    EXPECT_TRUE(image.hasAlpha);
    EXPECT_EQ(image.bitsPerSample, 8);
    EXPECT_EQ(image.channels, 4);
    ASSERT_EQ(image.data.size(), image.rowstride * image.height);
    for (const Pixel& pixel : row.pixels) {
        SCOPED_TRACE(testing::Message() << "pixel " << pixel.x << "," << pixel.y);
        EXPECT_EQ(image.data.mid(pixel.y * image.rowstride + pixel.x * 4, 4).toHex(), pixel.rgba);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, ContentImageTest,
    ::testing::Values(
        ImageRow{
            "Png", kPng, true, 3, 2, {{0, 0, "ff0000ff"}, {1, 0, "00ff0080"}, {2, 1, "0000ffff"}}},
        ImageRow{"SvgRenderedSquareKeepingItsShape",
                 kSvg,
                 true,
                 128,
                 128,
                 {{2, 64, "00000000"}, {64, 64, "0000ffff"}, {125, 64, "00000000"}}},
        ImageRow{"UndecodableIsLeftOut", QByteArray("not a picture"), false, 0, 0, {}},
        ImageRow{"NoneIsLeftOut", QByteArray(), false, 0, 0, {}}),
    [](const ::testing::TestParamInfo<ImageRow>& info) { return std::string(info.param.name); });

} // namespace
