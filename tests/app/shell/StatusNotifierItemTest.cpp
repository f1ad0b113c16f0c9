#include <gtest/gtest.h>

#include <memory>

#include <QAction>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QImage>
#include <QMenu>
#include <QPixmap>
#include <QSignalSpy>

#include "shell/FakeStatusNotifierHost.h"
#include "shell/StatusNotifierItem.h"
#include "shell/StatusNotifierTypes.h"
#include "support/PrivateBus.h"
#include "support/TestEnvironment.h"

namespace {

const QString kItemInterface = QStringLiteral("org.kde.StatusNotifierItem");
const QString kMenuInterface = QStringLiteral("com.canonical.dbusmenu");

template <typename T> T decode(const QVariant& value)
{
    return qdbus_cast<T>(value.value<QDBusArgument>());
}

class StatusNotifierItemTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(bus.isRunning());
        host = std::make_unique<FakeStatusNotifierHost>(bus.address());
        ASSERT_TRUE(host->isReady());
        connection = QDBusConnection::connectToBus(bus.address(), kConnection);
        ASSERT_TRUE(connection.isConnected());
        pause = menu.addAction(QStringLiteral("&Pause"));
        menu.addSeparator();
        quit = menu.addAction(QStringLiteral("Quit_now"));
        quit->setEnabled(false);
        item = std::make_unique<StatusNotifierItem>(connection, &menu);
        ASSERT_TRUE(item->isExported());
    }

    void TearDown() override
    {
        item.reset();
        QDBusConnection::disconnectFromBus(kConnection);
        host.reset();
    }

    QVariant itemProperty(const QString& name)
    {
        return host->property(item->serviceName(), StatusNotifierItem::kItemPath, kItemInterface,
                              name);
    }

    QDBusMessage menuCall(const QString& method, const QVariantList& arguments)
    {
        QDBusMessage message = QDBusMessage::createMethodCall(
            item->serviceName(), StatusNotifierItem::kMenuPath, kMenuInterface, method);
        message.setArguments(arguments);
        return host->call(message);
    }

    DBusMenuLayoutItem layout()
    {
        const QDBusMessage reply = menuCall(QStringLiteral("GetLayout"), {0, -1, QStringList()});
        if (reply.arguments().size() != 2)
            return {};
        return decode<DBusMenuLayoutItem>(reply.arguments().at(1));
    }

    static inline const QString kConnection = QStringLiteral("status-notifier-item-test");

    PrivateBus bus;
    std::unique_ptr<FakeStatusNotifierHost> host;
    QDBusConnection connection{QString()};
    QMenu menu;
    QAction* pause = nullptr;
    QAction* quit = nullptr;
    std::unique_ptr<StatusNotifierItem> item;
};

TEST_F(StatusNotifierItemTest, RegistersItsServiceWithTheWatcher)
{
    EXPECT_TRUE(item->serviceName().startsWith(
        QStringLiteral("org.kde.StatusNotifierItem-%1-").arg(QCoreApplication::applicationPid())));
    QSignalSpy finished(item.get(), &StatusNotifierItem::registrationFinished);
    item->show();
    ASSERT_TRUE(finished.wait());
    EXPECT_TRUE(finished.constFirst().constFirst().toBool());
    EXPECT_TRUE(item->isRegistered());
    EXPECT_EQ(host->registered(), QStringList{item->serviceName()});
}

TEST_F(StatusNotifierItemTest, AHostReadsTheTitleAsLabelAndTooltip)
{
    QImage red(16, 16, QImage::Format_ARGB32);
    red.fill(QColor(255, 0, 0));
    item->setIcon(QIcon(QPixmap::fromImage(red)));
    item->setStatusTitle(QStringLiteral(" 24:59"));
    item->setToolTipText(QStringLiteral("25 min of focus left"));

    const struct {
        const char* name;
        QVariant expected;
    } texts[] = {
        {"Id", QStringLiteral("org.zestra.Zestra")},
        {"Title", QStringLiteral("Zestra")},
        {"Category", QStringLiteral("ApplicationStatus")},
        {"Status", QStringLiteral("Active")},
        {"XAyatanaLabel", QStringLiteral("24:59")},
        {"XAyatanaLabelGuide", QStringLiteral("00:00")},
        {"ItemIsMenu", false},
    };
    for (const auto& row : texts) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(itemProperty(QLatin1String(row.name)), row.expected);
    }
    EXPECT_EQ(itemProperty(QStringLiteral("Menu")).value<QDBusObjectPath>().path(),
              QStringLiteral("/MenuBar"));

    const auto toolTip = decode<SniToolTip>(itemProperty(QStringLiteral("ToolTip")));
    EXPECT_EQ(toolTip.title, QStringLiteral("Zestra"));
    EXPECT_EQ(toolTip.text, QStringLiteral("25 min of focus left"));
    // Hosts re-read the tooltip on every change; it carries no pixmaps of its own.
    EXPECT_TRUE(toolTip.pixmaps.isEmpty());

    const auto pixmaps = decode<SniPixmapList>(itemProperty(QStringLiteral("IconPixmap")));
    ASSERT_FALSE(pixmaps.isEmpty());
    for (const SniPixmap& pixmap : pixmaps) {
        SCOPED_TRACE(pixmap.width);
        ASSERT_EQ(pixmap.data.size(), pixmap.width * pixmap.height * 4);
        // Opaque red, ARGB with the alpha byte first.
        EXPECT_EQ(pixmap.data.left(4), QByteArray("\xff\xff\x00\x00", 4));
    }
}

TEST_F(StatusNotifierItemTest, ATitleChangeAnnouncesTheNewLabel)
{
    item->setStatusTitle(QStringLiteral(" 24:59"));
    ASSERT_TRUE(host->watchLabels(item->serviceName()));
    item->setStatusTitle(QStringLiteral(" 24:58"));
    item->setStatusTitle(QStringLiteral(" --:--"));
    ASSERT_TRUE(processEventsUntil([this] { return host->labels().size() >= 2; }));
    EXPECT_EQ(host->labels(),
              (QStringList{QStringLiteral("24:58|00:00"), QStringLiteral("--:--|00:00")}));
}

TEST_F(StatusNotifierItemTest, SecondsChangeTheLabelAndOnlyMinutesTheTooltip)
{
    item->setStatusTitle(QStringLiteral(" 25:00"));
    ASSERT_TRUE(host->watchLabels(item->serviceName()));
    // Hosts re-read every property, icons included, on a tooltip signal: a minute of
    // ticks sends one, not sixty.
    for (int second = 59; second >= 0; --second)
        item->setStatusTitle(QStringLiteral(" 24:%1").arg(second, 2, 10, QLatin1Char('0')));
    item->setToolTipText(QStringLiteral("24 min of focus left"));
    item->setToolTipText(QStringLiteral("24 min of focus left"));
    ASSERT_TRUE(processEventsUntil([this] { return host->labels().size() >= 60; }));
    ASSERT_TRUE(processEventsUntil([this] { return host->toolTipChanges() >= 1; }));
    EXPECT_EQ(host->toolTipChanges(), 1);
}

TEST_F(StatusNotifierItemTest, ActivateOpensThePopover)
{
    QSignalSpy activated(item.get(), &StatusNotifierItem::activated);
    QDBusMessage call =
        QDBusMessage::createMethodCall(item->serviceName(), StatusNotifierItem::kItemPath,
                                       kItemInterface, QStringLiteral("Activate"));
    call << 10 << 20;
    EXPECT_EQ(host->call(call).type(), QDBusMessage::ReplyMessage);
    ASSERT_EQ(activated.size(), 1);
    // Where the host says the click was, so the popover opens beside the icon.
    EXPECT_EQ(activated.constFirst().constFirst().toPoint(), QPoint(10, 20));
}

TEST_F(StatusNotifierItemTest, TheMenuListsTheActionsAndRunsAClickedOne)
{
    const DBusMenuLayoutItem root = layout();
    ASSERT_EQ(root.children.size(), 3);
    const DBusMenuLayoutItem& first = root.children.at(0);
    EXPECT_EQ(first.properties.value(QStringLiteral("label")), QStringLiteral("_Pause"));
    EXPECT_EQ(first.properties.value(QStringLiteral("enabled")), true);
    EXPECT_EQ(first.properties.value(QStringLiteral("visible")), true);
    EXPECT_EQ(root.children.at(1).properties.value(QStringLiteral("type")),
              QStringLiteral("separator"));
    const DBusMenuLayoutItem& last = root.children.at(2);
    EXPECT_EQ(last.properties.value(QStringLiteral("label")), QStringLiteral("Quit__now"));
    EXPECT_EQ(last.properties.value(QStringLiteral("enabled")), false);

    QSignalSpy triggered(pause, &QAction::triggered);
    const QDBusMessage reply =
        menuCall(QStringLiteral("Event"), {first.id, QStringLiteral("clicked"),
                                           QVariant::fromValue(QDBusVariant(QString())), 0u});
    EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage);
    // The action runs after the reply, maybe while the call above was still waiting for it.
    ASSERT_TRUE(processEventsUntil([&triggered] { return !triggered.isEmpty(); }));
    EXPECT_EQ(triggered.size(), 1);
}

TEST_F(StatusNotifierItemTest, AboutToShowLetsTheOwnerRefreshTexts)
{
    const int id = layout().children.value(0).id;
    QObject::connect(&menu, &QMenu::aboutToShow, pause,
                     [this] { pause->setText(QStringLiteral("Resume")); });

    QDBusMessage reply = menuCall(QStringLiteral("AboutToShow"), {0});
    ASSERT_EQ(reply.arguments().size(), 1);
    EXPECT_TRUE(reply.arguments().constFirst().toBool());
    EXPECT_EQ(layout().children.value(0).properties.value(QStringLiteral("label")),
              QStringLiteral("Resume"));
    EXPECT_EQ(layout().children.value(0).id, id);

    // Nothing changed this time, so the host keeps its layout.
    reply = menuCall(QStringLiteral("AboutToShow"), {0});
    EXPECT_FALSE(reply.arguments().value(0).toBool());
}

} // namespace
