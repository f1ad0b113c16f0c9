#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include "datalib/store/RawSql.h"
#include "datalib/store/StoreFixture.h"
#include "thieves/PreloadedThieves.h"
#include "thieves/ThiefDictionary.h"
#include "thieves/ThiefImages.h"
#include "thieves/ThiefManager.h"

namespace {

QStringList identifiers(const std::optional<QList<Thief>>& thieves)
{
    QStringList ids;
    for (const Thief& thief : thieves.value_or(QList<Thief>()))
        ids.append(thief.identifier.value_or(QStringLiteral("<none>")));
    return ids;
}

class ThiefCatalogueTest : public StoreFixture {
protected:
    int count(const char* sql) { return RawSql::queryInt(storePath(), sql); }

    // A list file of the test's own.
    QString listFile(const QByteArray& content)
    {
        const QString path = env->root() + QStringLiteral("/list-%1.json").arg(++m_lists);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }

    QByteArray entry(const char* name, const char* identifier, const char* kind)
    {
        return QJsonDocument(QJsonObject{{"name", name},
                                         {"identifier", identifier},
                                         {"kind", kind},
                                         {"isActive", true},
                                         {"preloaded", true}})
            .toJson(QJsonDocument::Compact);
    }

    void addUserThief(const QString& identifier, bool active)
    {
        store->addThieve(ThiefDictionary::make(QStringLiteral("Mine"), identifier,
                                               QStringLiteral("website"), active, false),
                         ThiefImages::named(QLatin1String(ThiefImages::generic)));
    }

private:
    int m_lists = 0;
};

TEST_F(ThiefCatalogueTest, ShippedListImportsWholeOnceAndIsNeverUploaded)
{
    const PreloadedThieves::List list = PreloadedThieves::read(PreloadedThieves::resourcePath());
    ASSERT_EQ(list.status, PreloadedThieves::Status::ok) << list.error.toStdString();
    EXPECT_EQ(list.skipped, 0);

    ASSERT_TRUE(store->loadThieves());
    ASSERT_TRUE(store->loadThieves()) << "a second import replaces the first";
    settle();
    EXPECT_EQ(count("SELECT count(*) FROM Thief"), list.entries.size());
    EXPECT_EQ(count("SELECT count(DISTINCT identifier) FROM Thief"), list.entries.size());
    EXPECT_EQ(count("SELECT count(*) FROM Thief WHERE preloaded = 0 OR isActive = 0"), 0);
    EXPECT_TRUE(cloud->calls().isEmpty()) << cloud->calls().join(u'\n').toStdString();

    // The browsers the scanner asks for their page, as Flatpak and Debian name them.
    ThiefManager manager(*store);
    EXPECT_EQ(
        manager.browserBundlesBlacklist(),
        (QStringList{"firefox", "firefox-esr", "org.mozilla.firefox", "chromium",
                     "org.chromium.Chromium", "google-chrome", "com.google.Chrome", "brave-browser",
                     "com.brave.Browser", "microsoft-edge", "vivaldi-stable"}));
    for (const char* app :
         {"com.slack.Slack", "discord", "org.telegram.desktop", "org.signal.Signal",
          "com.valvesoftware.Steam", "com.spotify.Client", "thunderbird"})
        EXPECT_EQ(store->thief(QLatin1String(app)).value_or(Thief()).kind, "application") << app;

    // Pictures come from the resources named after the identifier, and only from there.
    const std::optional<Thief> youtube = store->thief(QStringLiteral("youtube.com"));
    ASSERT_TRUE(youtube);
    EXPECT_EQ(youtube->image, ThiefImages::named(QStringLiteral("youtube.com")));
    EXPECT_TRUE(youtube->image->startsWith("<svg"));
    EXPECT_FALSE(store->thief(QStringLiteral("x.com"))->image);
}

TEST_F(ThiefCatalogueTest, ABadListChangesNothingAndSaysSoOnce)
{
    ASSERT_TRUE(store->loadThieves());
    const int before = count("SELECT count(*) FROM Thief");

    const struct {
        const char* name;
        QByteArray content;
    } rows[] = {
        {"not JSON", "[" + entry("Firefox", "firefox", "browser") + ","},
        {"not an array", entry("Firefox", "firefox", "browser")},
        {"an element that is no object", "[" + entry("Firefox", "firefox", "browser") + ", 3]"},
        {"nothing that makes a thief", R"([{"name": "Firefox", "identifier": "firefox"}])"},
        {"empty", "[]"},
    };
    for (const auto& row : rows) {
        consoleLines.clear();
        EXPECT_FALSE(store->loadThieves(listFile(row.content))) << row.name;
        EXPECT_EQ(count("SELECT count(*) FROM Thief"), before) << row.name;
        EXPECT_FALSE(store->hasChanges()) << row.name << ": no removal left pending";
        ASSERT_EQ(consoleLines.size(), 1) << row.name;
        EXPECT_TRUE(consoleLines.first().contains(QLatin1String("thief list"))) << row.name;
    }
    EXPECT_EQ(ThiefManager(*store).browserBundlesBlacklist().size(), 11);

    consoleLines.clear();
    EXPECT_FALSE(store->loadThieves(env->root() + QStringLiteral("/missing.json")));
    EXPECT_EQ(consoleLines, QStringList{"No se encuentra el archivo JSON."});
    EXPECT_EQ(count("SELECT count(*) FROM Thief"), before);
}

TEST_F(ThiefCatalogueTest, ImportReactivatesAUserThiefThatHasAPictureAndSkipsBadElements)
{
    addUserThief(QStringLiteral("youtube.com"), true);
    settle();
    const QString record = cloud->lastRecordName();
    ASSERT_EQ(store->thief(QStringLiteral("youtube.com"))->cloudRecordID, record);
    store->deactivateThief(QStringLiteral("youtube.com"));
    addUserThief(QStringLiteral("x.com"), true);
    settle();

    const QByteArray list = "[" + entry("YouTube", "youtube.com", "website") + "," +
                            entry("X", "x.com", "website") + "," +
                            R"({"name": "No kind", "identifier": "nokind.org", "isActive": true,
                                "preloaded": true})" +
                            "]";
    ASSERT_TRUE(store->loadThieves(listFile(list)));
    settle();

    // One youtube.com, the user's, switched on here and in the cloud.
    const std::optional<Thief> youtube = store->thief(QStringLiteral("youtube.com"));
    EXPECT_EQ(count("SELECT count(*) FROM Thief WHERE identifier = 'youtube.com'"), 1);
    EXPECT_TRUE(youtube->isActive);
    EXPECT_EQ(youtube->name, "Mine");
    EXPECT_FALSE(youtube->preloaded);
    EXPECT_TRUE(cloud->calls().contains(QStringLiteral("switchThief %1 1").arg(record)));
    // Without a picture of its own an element is always inserted.
    EXPECT_EQ(count("SELECT count(*) FROM Thief WHERE identifier = 'x.com'"), 2);
    EXPECT_FALSE(store->thief(QStringLiteral("nokind.org")));
}

TEST_F(ThiefCatalogueTest, UserThievesGoToTheCloudAndKeepTheirFirstRecordName)
{
    ASSERT_TRUE(store->loadThieves());
    addUserThief(QStringLiteral("example.org"), true);
    EXPECT_EQ(identifiers(store->thievesPendingUpload()), QStringList{"example.org"});
    settle();
    const QString record = cloud->lastRecordName();
    EXPECT_EQ(cloud->calls(), QStringList{"saveThief"});
    EXPECT_EQ(store->thief(QStringLiteral("example.org"))->cloudRecordID, record);
    EXPECT_TRUE(store->thievesPendingUpload()->isEmpty());

    store->updateThief(QStringLiteral("example.org"), QStringLiteral("other"));
    EXPECT_EQ(store->thief(QStringLiteral("example.org"))->cloudRecordID, record);

    // Adding it again only switches it back on, here and in the cloud.
    store->deactivateThief(QStringLiteral("example.org"));
    addUserThief(QStringLiteral("example.org"), true);
    EXPECT_EQ(count("SELECT count(*) FROM Thief WHERE identifier = 'example.org'"), 1);
    EXPECT_TRUE(store->thief(QStringLiteral("example.org"))->isActive);
    EXPECT_EQ(cloud->calls().last(), QStringLiteral("switchThief %1 1").arg(record));
}

TEST_F(ThiefCatalogueTest, ACloudRecordKeepsItsActiveState)
{
    ASSERT_TRUE(store->loadThieves());
    QVariantMap record =
        ThiefDictionary::make(QStringLiteral("Reddit"), QStringLiteral("reddit.com"),
                              QStringLiteral("website"), false, true);
    store->addThieve(record, std::nullopt, QStringLiteral("rec-9"));
    std::optional<Thief> reddit = store->thief(QStringLiteral("reddit.com"));
    EXPECT_FALSE(reddit->isActive) << "switched off on another computer, off here too";
    EXPECT_EQ(reddit->cloudRecordID, "rec-9");

    record.insert(QStringLiteral("isActive"), true);
    store->addThieve(record, std::nullopt, QStringLiteral("rec-9"));
    EXPECT_TRUE(store->thief(QStringLiteral("reddit.com"))->isActive);

    store->addThieve(ThiefDictionary::make("Elsewhere", "elsewhere.net", "website", true, false),
                     std::nullopt, QStringLiteral("rec-10"));
    EXPECT_FALSE(store->thief(QStringLiteral("elsewhere.net")));
    EXPECT_TRUE(cloud->calls().isEmpty());
}

TEST_F(ThiefCatalogueTest, SwitchingAndTruncating)
{
    addUserThief(QStringLiteral("on.example"), true);
    addUserThief(QStringLiteral("off.example"), false);
    settle();

    store->deactivateThief(QStringLiteral("nobody.example"));
    store->activateThief(QStringLiteral("nobody.example"));
    EXPECT_FALSE(store->hasChanges());
    EXPECT_EQ(identifiers(store->activeThieves()), QStringList{"on.example"});

    store->truncateThieves();
    EXPECT_EQ(identifiers(store->thieves()), QStringList{"off.example"});
    EXPECT_EQ(cloud->calls(), (QStringList{"saveThief", "saveThief"}));
}

TEST(ThiefDictionaryTest, RequiredKeysMustHaveTheirTypes)
{
    QVariantMap dictionary = ThiefDictionary::make("Slack", "slack", "application", true, false);
    dictionary.insert(QStringLiteral("description"), 7);
    const std::optional<Thief> thief = ThiefDictionary::thief(dictionary);
    ASSERT_TRUE(thief);
    EXPECT_FALSE(thief->about) << "an optional key of another type is left unset";

    dictionary.insert(QStringLiteral("isActive"), QStringLiteral("true"));
    EXPECT_FALSE(ThiefDictionary::thief(dictionary));

    WorkActivity activity;
    activity.name = QStringLiteral("Slack");
    activity.identifier = QStringLiteral("slack");
    EXPECT_FALSE(ThiefDictionary::dictionaryRepresentation(activity));
    activity.kind = QStringLiteral("application");
    const QVariantMap made = *ThiefDictionary::dictionaryRepresentation(activity);
    EXPECT_EQ(made.value("isActive"), true);
    EXPECT_EQ(made.value("preloaded"), false);
}

} // namespace
