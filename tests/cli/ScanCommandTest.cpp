#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>

#include "CliFixture.h"
#include "datalib/thieves/X11TestClient.h"
#include "datalib/thieves/XvfbDisplay.h"
#include "store/DataController.h"
#include "thieves/ThiefDictionary.h"

namespace {

class ScanCommand : public CliFixture {
protected:
    static void SetUpTestSuite() { display = new XvfbDisplay; }
    static void TearDownTestSuite()
    {
        delete display;
        display = nullptr;
    }

    void SetUp() override
    {
        if (!display->isRunning())
            GTEST_SKIP() << display->error().toStdString();
        m_previousDisplay = qgetenv("DISPLAY");
        m_previousDirs = qgetenv("XDG_DATA_DIRS");
        qputenv("DISPLAY", display->name());
        qputenv("XDG_DATA_DIRS", (env.root() + QStringLiteral("/system")).toUtf8());
        client = std::make_unique<X11TestClient>(display->name());
        client->activate(0);
        write(env.dataHome() + "/applications/org.example.Chat.desktop",
              "[Desktop Entry]\nName=Chat\nStartupWMClass=ChatWindow\n");
        write(env.dataHome() + "/applications/firefox.desktop",
              "[Desktop Entry]\nName=Firefox\nStartupWMClass=firefox\n");
        const QString script = env.dataDirectory() + "/browser-scripts/firefox";
        write(script, "#!/bin/sh\necho 'https://www.example.org/a?b=c'\n");
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        DataController store(env.dataDirectory());
        store.addThieve(ThiefDictionary::make(QStringLiteral("Firefox"), QStringLiteral("firefox"),
                                              QStringLiteral("browser"), true, true),
                        std::nullopt);
    }

    void TearDown() override
    {
        if (!display->isRunning())
            return;
        client.reset();
        qputenv("DISPLAY", m_previousDisplay);
        qputenv("XDG_DATA_DIRS", m_previousDirs);
    }

    static void write(const QString& path, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    static XvfbDisplay* display;
    std::unique_ptr<X11TestClient> client;
    QByteArray m_previousDisplay;
    QByteArray m_previousDirs;
};

XvfbDisplay* ScanCommand::display = nullptr;

TEST_F(ScanCommand, OnceSaysWhatIsInFrontAndSecondsStoresIt)
{
    const CliRun nothing = cli({"scan", "--once"});
    EXPECT_EQ(nothing.exitCode, 0) << nothing.err.toStdString();
    EXPECT_EQ(nothing.out.trimmed(), "null");

    client->activate(client->createWindow("chat", "ChatWindow"));
    EXPECT_EQ(json({"scan", "--once"}).object(), (QJsonObject{{"kind", "application"},
                                                              {"id", "org.example.Chat"},
                                                              {"name", "Chat"},
                                                              {"host", QJsonValue::Null}}));
    const QJsonArray recorded = json({"scan", "--seconds", "0"}).array();
    ASSERT_EQ(recorded.size(), 1);
    EXPECT_EQ(recorded[0]["id"], "org.example.Chat");
    EXPECT_EQ(recorded[0]["kind"], "application");
    EXPECT_EQ(json({"activities"}).array().size(), 1);

    client->activate(client->createWindow("Navigator", "firefox"));
    EXPECT_EQ(json({"scan", "--once"}).object(), (QJsonObject{{"kind", "website"},
                                                              {"id", "example.org"},
                                                              {"name", "example.org"},
                                                              {"host", "example.org"}}));
}

TEST_F(ScanCommand, NoDisplayAndWrongArgumentsAreRefused)
{
    qputenv("DISPLAY", "");
    for (const QStringList& arguments :
         {QStringList{"scan", "--once"}, QStringList{"scan", "--seconds", "0"}})
        expectFailedInOneLine(cli(arguments), arguments);
    for (const QStringList& wrong :
         {QStringList{"scan"}, QStringList{"scan", "--once", "--seconds", "1"},
          QStringList{"scan", "--seconds", "x"}, QStringList{"scan", "--seconds", "-1"},
          QStringList{"scan", "--once=yes"}})
        expectRefused(cli(wrong), 2, wrong);
}

} // namespace
