#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "support/TestEnvironment.h"
#include "thieves/DesktopEntry.h"
#include "thieves/WebsiteHost.h"

namespace {

struct HostRow {
    const char* name;
    const char* typed;
    const char* host; // nullptr: refused
};

void PrintTo(const HostRow& row, std::ostream* os)
{
    *os << row.name;
}

class WebsiteHostTest : public ::testing::TestWithParam<HostRow> {};

TEST_P(WebsiteHostTest, NormalisesOrRefuses)
{
    const HostRow& row = GetParam();
    QString error;
    const std::optional<QString> host =
        WebsiteHost::normalised(QString::fromUtf8(row.typed), error);
    if (row.host) {
        EXPECT_EQ(host, QString::fromUtf8(row.host)) << error.toStdString();
    } else {
        EXPECT_FALSE(host) << host->toStdString();
        EXPECT_TRUE(error.contains(QLatin1String("not a host name"))) << error.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WebsiteHostTest,
    ::testing::Values(HostRow{"plain", "example.com", "example.com"},
                      HostRow{"upper_case_and_www", " WWW.Example.COM ", "example.com"},
                      HostRow{"www_only_in_front", "news.www.example.com", "news.www.example.com"},
                      HostRow{"single_label", "localhost", "localhost"},
                      HostRow{"international", "bücher.de", "xn--bcher-kva.de"},
                      HostRow{"www_alone", "www.", nullptr}, HostRow{"empty", "", nullptr},
                      HostRow{"url", "https://example.com/", nullptr},
                      HostRow{"path", "example.com/page", nullptr},
                      HostRow{"space_inside", "exa mple.com", nullptr},
                      HostRow{"empty_label", "example..com", nullptr},
                      HostRow{"leading_dash", "-example.com", nullptr},
                      HostRow{"port", "example.com:8080", nullptr}),
    [](const ::testing::TestParamInfo<HostRow>& info) { return std::string(info.param.name); });

class DesktopEntryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previousDirs = qgetenv("XDG_DATA_DIRS");
        qputenv("XDG_DATA_DIRS", (env.root() + QStringLiteral("/system")).toUtf8());
    }
    void TearDown() override { qputenv("XDG_DATA_DIRS", m_previousDirs); }

    void install(const QString& folder, const char* fileName, const QByteArray& content)
    {
        QDir().mkpath(folder + QStringLiteral("/applications"));
        QFile file(folder + QStringLiteral("/applications/") + QLatin1String(fileName));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QString system() const { return env.root() + QStringLiteral("/system"); }

    TestEnvironment env;

private:
    QByteArray m_previousDirs;
};

TEST_F(DesktopEntryTest, FindsTheUsersEntryFirstAndReadsItsMainGroup)
{
    install(system(), "org.example.Chat.desktop",
            "[Desktop Entry]\nType=Application\nName=Chat\nIcon=org.example.Chat\n");
    install(env.dataHome(), "org.example.Chat.desktop",
            "# mine\n[Desktop Action new]\nName=New window\n[Desktop Entry]\nName = My Chat\n");
    QString error;
    std::optional<DesktopEntry> entry = DesktopEntry::find("org.example.Chat.desktop", error);
    ASSERT_TRUE(entry) << error.toStdString();
    EXPECT_EQ(entry->id, "org.example.Chat");
    EXPECT_EQ(entry->name, "My Chat");
    EXPECT_FALSE(entry->icon);

    QFile::remove(env.dataHome() + QStringLiteral("/applications/org.example.Chat.desktop"));
    entry = DesktopEntry::find("org.example.Chat", error);
    ASSERT_TRUE(entry) << error.toStdString();
    EXPECT_EQ(entry->name, "Chat");
    EXPECT_EQ(entry->icon, "org.example.Chat");
}

TEST_F(DesktopEntryTest, RefusesWhatIsNoInstalledNamedEntry)
{
    install(system(), "nameless.desktop", "[Desktop Entry]\nType=Application\n");
    install(system(), "hidden.desktop", "[Desktop Entry]\nName=Gone\nHidden=true\n");
    install(system(), "other-group.desktop", "[Desktop Action x]\nName=Not the entry\n");
    for (const char* id : {"nameless", "hidden", "other-group", "absent", "../system/x", "",
                           ".desktop", "two words"}) {
        QString error;
        EXPECT_FALSE(DesktopEntry::find(QLatin1String(id), error)) << id;
        EXPECT_FALSE(error.isEmpty()) << id;
    }
}

} // namespace
