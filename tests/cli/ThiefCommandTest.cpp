#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>

#include "CliFixture.h"
#include "store/DataController.h"
#include "thieves/ThiefDictionary.h"

namespace {

class ThiefCommand : public CliFixture {
protected:
    void SetUp() override
    {
        m_previousDirs = qgetenv("XDG_DATA_DIRS");
        qputenv("XDG_DATA_DIRS", (env.root() + QStringLiteral("/system")).toUtf8());
    }
    void TearDown() override { qputenv("XDG_DATA_DIRS", m_previousDirs); }

    void installApplication(const char* fileName, const QByteArray& content)
    {
        const QString folder = env.root() + QStringLiteral("/system/applications");
        QDir().mkpath(folder);
        QFile file(folder + QLatin1Char('/') + QLatin1String(fileName));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QJsonObject listed(const QString& identifier)
    {
        for (const QJsonValue& thief : json({"thieves"}).array()) {
            if (thief.toObject().value("identifier").toString() == identifier)
                return thief.toObject();
        }
        return QJsonObject();
    }

private:
    QByteArray m_previousDirs;
};

TEST_F(ThiefCommand, AddsSitesAndInstalledApplicationsAndSwitchesThem)
{
    EXPECT_EQ(json({"thieves", "list"}).array(), QJsonArray());

    ok({"thieves", "add-site", " WWW.Example.COM "});
    EXPECT_EQ(listed("example.com"), (QJsonObject{{"identifier", "example.com"},
                                                  {"name", "example.com"},
                                                  {"kind", "website"},
                                                  {"active", true},
                                                  {"preloaded", false}}));

    installApplication("org.example.Chat.desktop",
                       "[Desktop Entry]\nType=Application\nName=Example Chat\nIcon=chat\n");
    ok({"thieves", "add-app", "org.example.Chat"});
    EXPECT_EQ(listed("org.example.Chat").value("name").toString(), "Example Chat");
    EXPECT_EQ(listed("org.example.Chat").value("kind").toString(), "application");

    ok({"thieves", "deactivate", "example.com"});
    EXPECT_FALSE(listed("example.com").value("active").toBool());
    // Adding it again switches it back on rather than adding a second one.
    ok({"thieves", "add-site", "example.com"});
    EXPECT_TRUE(listed("example.com").value("active").toBool());
    EXPECT_EQ(json({"thieves"}).array().size(), 2);

    const QStringList missingApp{"thieves", "add-app", "org.example.Absent"};
    const CliRun absent = cli(missingApp);
    expectFailedInOneLine(absent, missingApp);
    EXPECT_TRUE(absent.err.contains("org.example.Absent")) << absent.err.toStdString();

    installApplication("nameless.desktop", "[Desktop Entry]\nType=Application\n");
    const QStringList nameless{"thieves", "add-app", "nameless"};
    expectFailedInOneLine(cli(nameless), nameless);

    const QStringList unknown{"thieves", "activate", "nobody.example"};
    expectFailedInOneLine(cli(unknown), unknown);

    for (const QStringList& wrong :
         {QStringList{"thieves", "add-site", "https://example.com/"},
          QStringList{"thieves", "add-site", "www."}, QStringList{"thieves", "steal", "x"},
          QStringList{"thieves", "add-site"}, QStringList{"thieves", "list", "more"}})
        expectRefused(cli(wrong), 2, wrong);
    EXPECT_EQ(json({"thieves"}).array().size(), 2);
}

TEST_F(ThiefCommand, ActivitiesOfADaySayWhichAreThieves)
{
    {
        DataController store(env.dataDirectory());
        const auto thief = [&store](const char* id, bool active) {
            store.addThieve(ThiefDictionary::make(QLatin1String(id), QLatin1String(id),
                                                  QStringLiteral("application"), active, false),
                            std::nullopt);
        };
        thief("slack", true);
        thief("steam", false);
        const auto activity = [&store](const char* name, const char* id, const char* kind,
                                       const char* start, const char* end) {
            store.makeWorkActivity(QLatin1String(name),
                                   Date(TestEnvironment::localTime(QLatin1String(start))),
                                   Date(TestEnvironment::localTime(QLatin1String(end))),
                                   QLatin1String(id), QLatin1String(kind), std::nullopt);
        };
        // Madrid's 23-hour day.
        activity("Slack", "slack", "application", "2026-03-29T09:00:00", "2026-03-29T09:05:00");
        activity("Steam", "steam", "application", "2026-03-29T09:05:00", "2026-03-29T10:00:00");
        activity("docs.example", "docs.example", "website", "2026-03-29T23:59:00",
                 "2026-03-30T00:20:00");
        activity("Slack", "slack", "application", "2026-03-30T00:30:00", "2026-03-30T00:40:00");
    }

    const QJsonArray day = json({"activities", "2026-03-29"}).array();
    ASSERT_EQ(day.size(), 3);
    EXPECT_EQ(day.at(0).toObject(),
              (QJsonObject{{"start", TestEnvironment::localTime("2026-03-29T09:00:00")},
                           {"end", TestEnvironment::localTime("2026-03-29T09:05:00")},
                           {"id", "slack"},
                           {"name", "Slack"},
                           {"kind", "application"},
                           {"thief", true}}));
    EXPECT_FALSE(day.at(1).toObject().value("thief").toBool()) << "steam is switched off";
    EXPECT_EQ(day.at(2).toObject().value("kind").toString(), "website");
    EXPECT_FALSE(day.at(2).toObject().value("thief").toBool());
    EXPECT_EQ(json({"activities", "2026-03-30"}).array().size(), 1);

    const QStringList wrongDay{"activities", "2026-02-30"};
    expectRefused(cli(wrongDay), 2, wrongDay);
}

} // namespace
