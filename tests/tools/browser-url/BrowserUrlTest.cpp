#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "BrowserUrlRun.h"

namespace {

const QString testdata = QStringLiteral(ZESTRA_BROWSER_TESTDATA "/");

// Where Firefox ESR put its profile on a first start (see testdata/README.md).
constexpr char firefoxProfile[] = "qf0643r5.default-esr";

class BrowserUrlTest : public ::testing::Test {
protected:
    // Copies a test file to `path` below the fake home, modified `age` seconds ago.
    void place(const char* file, const QString& path, int age = 0)
    {
        const QString target = home.filePath(path);
        QDir().mkpath(QFileInfo(target).path());
        QFile::remove(target);
        ASSERT_TRUE(QFile::copy(testdata + QLatin1String(file), target)) << file;
        QFile copy(target);
        ASSERT_TRUE(copy.open(QIODevice::ReadWrite));
        copy.setFileTime(QDateTime::currentDateTime().addSecs(-age),
                         QFileDevice::FileModificationTime);
    }
    void write(const QString& path, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(home.filePath(path)).path());
        QFile file(home.filePath(path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    // A Firefox folder as the browser left it: two profiles, the session in the ESR one.
    void placeFirefox(const QString& root)
    {
        place("firefox-profiles.ini", root + QStringLiteral("/profiles.ini"));
        place("firefox-installs.ini", root + QStringLiteral("/installs.ini"));
        place("firefox-recovery.jsonlz4",
              root + QLatin1Char('/') + QLatin1String(firefoxProfile) +
                  QStringLiteral("/sessionstore-backups/recovery.jsonlz4"));
    }
    BrowserUrlRun run(const char* link) { return BrowserUrlRun(QLatin1String(link), home.path()); }
    static void expectUrl(const BrowserUrlRun& result, const char* url)
    {
        EXPECT_FALSE(result.crashed);
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        EXPECT_EQ(result.out, QByteArray(url) + '\n');
        EXPECT_TRUE(result.err.isEmpty()) << result.err.toStdString();
    }
    static void expectError(const BrowserUrlRun& result, const char* saying, int exitCode = 1)
    {
        EXPECT_FALSE(result.crashed);
        EXPECT_EQ(result.exitCode, exitCode);
        EXPECT_TRUE(result.out.isEmpty()) << result.out.toStdString();
        EXPECT_TRUE(result.err.contains(saying)) << result.err.toStdString();
    }

    QTemporaryDir temporary;
    QDir home{temporary.path()};
};

struct Row {
    const char* name;
    const char* link;
    const char* file;
    const char* root; // the browser's folder below $HOME
    const char* url;
};

void PrintTo(const Row& row, std::ostream* os)
{
    *os << row.name;
}

class EveryBrowser : public BrowserUrlTest, public ::testing::WithParamInterface<Row> {};

TEST_P(EveryBrowser, PrintsTheSelectedPageOfItsSession)
{
    const Row& row = GetParam();
    const QString root = QLatin1String(row.root);
    if (QLatin1String(row.file) == QLatin1String("firefox-recovery.jsonlz4"))
        placeFirefox(root);
    else
        place(row.file, root + QStringLiteral("/Default/Sessions/Session_13441170407060288"));
    expectUrl(run(row.link), row.url);
}

constexpr char gamma[] = "http://127.0.0.1:8765/gamma.html";
constexpr char again[] = "chromium-first-window-active-again.snss";

INSTANTIATE_TEST_SUITE_P(
    Rows, EveryBrowser,
    ::testing::Values(
        // Window 2 selected, its tab's history moved back one entry.
        Row{"firefox_esr", "firefox-esr", "firefox-recovery.jsonlz4", ".config/mozilla/firefox",
            gamma},
        Row{"firefox_older_folder", "firefox", "firefox-recovery.jsonlz4", ".mozilla/firefox",
            gamma},
        Row{"firefox_flatpak", "org.mozilla.firefox", "firefox-recovery.jsonlz4",
            ".var/app/org.mozilla.firefox/.mozilla/firefox", gamma},
        Row{"chromium_one_window", "chromium", "chromium-one-window.snss", ".config/chromium",
            "http://127.0.0.1:8765/alpha.html"},
        Row{"chromium_second_window_active", "chromium", "chromium-second-window-active.snss",
            ".config/chromium", "http://127.0.0.1:8765/beta.html?w2"},
        // The second tab of window 1, navigated twice and back once.
        Row{"chromium_first_window_active_again", "chromium", again, ".config/chromium", gamma},
        Row{"chromium_flatpak", "org.chromium.Chromium", again,
            ".var/app/org.chromium.Chromium/config/chromium", gamma},
        Row{"chrome", "google-chrome", again, ".config/google-chrome", gamma},
        Row{"chrome_flatpak", "com.google.Chrome", again,
            ".var/app/com.google.Chrome/config/google-chrome", gamma},
        Row{"brave", "brave-browser", again, ".config/BraveSoftware/Brave-Browser", gamma},
        Row{"brave_flatpak", "com.brave.Browser", again,
            ".var/app/com.brave.Browser/config/BraveSoftware/Brave-Browser", gamma},
        Row{"edge", "microsoft-edge", again, ".config/microsoft-edge", gamma},
        Row{"vivaldi", "vivaldi-stable", again, ".config/vivaldi", gamma}),
    [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

TEST_F(BrowserUrlTest, TheProfileWhoseSessionIsNewestIsTheOneInUse)
{
    // Chromium: another profile, and the file name of older versions.
    place("chromium-one-window.snss", QStringLiteral(".config/chromium/Profile 1/Current Session"),
          60);
    place(again, QStringLiteral(".config/chromium/Default/Sessions/Session_1"), 30);
    place("chromium-second-window-active.snss",
          QStringLiteral(".config/chromium/Default/Sessions/Session_0"), 90);
    expectUrl(run("chromium"), gamma);
    place("chromium-one-window.snss", QStringLiteral(".config/chromium/Profile 1/Current Session"));
    expectUrl(run("chromium"), "http://127.0.0.1:8765/alpha.html");

    // Firefox: the profile marked Default=1 is not the install's; an older session in it
    // loses, a newer one wins.
    placeFirefox(QStringLiteral(".config/mozilla/firefox"));
    const QString other =
        QStringLiteral(".config/mozilla/firefox/firdahu1.default/sessionstore-backups/");
    place("firefox-recovery.jsonlz4", other + QStringLiteral("recovery.jsonlz4"), 60);
    expectUrl(run("firefox"), gamma);
}

TEST_F(BrowserUrlTest, MissingProfilesAndUnknownNamesAreClearErrors)
{
    const QString unknown = home.filePath(QStringLiteral("safari"));
    ASSERT_TRUE(QFile::link(QStringLiteral(ZESTRA_BROWSER_SCRIPTS_BUILD_DIR "/firefox"), unknown));
    expectError(BrowserUrlRun(unknown, home.path()), "called by an unknown name", 2);
    expectError(run("firefox"), "no Firefox profile folder");
    expectError(run("chromium"), "no browser profile folder");
    QDir().mkpath(home.filePath(QStringLiteral(".config/chromium/Default")));
    expectError(run("chromium"), "no session file in the profiles of");

    // Encrypted session files exist on some platforms; they are said to be so.
    const QString session = QStringLiteral(".config/chromium/Default/Sessions/Session_1");
    place("chromium-one-window.snss", session);
    QFile file(home.filePath(session));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.seek(4);
    file.write(QByteArray("\x04\0\0\0", 4));
    file.close();
    expectError(run("chromium"), "encrypted");
}

// Copies cut short or with bytes changed (a browser writing while it is read, a damaged
// disk): each run prints a URL or says what is wrong, and never crashes.
TEST_F(BrowserUrlTest, DamagedSessionFilesNeverCrashTheScript)
{
    struct Case {
        const char* link;
        const char* file;
        QString path;
    };
    placeFirefox(QStringLiteral(".mozilla/firefox"));
    const Case cases[] = {
        {"chromium", again, QStringLiteral(".config/chromium/Default/Sessions/Session_1")},
        {"firefox", "firefox-recovery.jsonlz4",
         QStringLiteral(".mozilla/firefox/") + QLatin1String(firefoxProfile) +
             QStringLiteral("/sessionstore-backups/recovery.jsonlz4")},
    };
    QRandomGenerator random(20261208);
    for (const Case& c : cases) {
        QFile original(testdata + QLatin1String(c.file));
        ASSERT_TRUE(original.open(QIODevice::ReadOnly));
        const QByteArray bytes = original.readAll();
        QList<QByteArray> damaged;
        for (qsizetype length = 0; length < bytes.size(); length += 1 + length / 8)
            damaged.append(bytes.left(length));
        const qsizetype cuts = damaged.size();
        for (int i = 0; i < 150; ++i) {
            QByteArray copy = bytes;
            for (int flips = 1 + i % 4; flips > 0; --flips)
                copy[random.bounded(static_cast<int>(copy.size()))] =
                    static_cast<char>(random.bounded(256));
            damaged.append(copy);
        }
        qsizetype refusedCuts = 0;
        for (qsizetype i = 0; i < damaged.size(); ++i) {
            write(c.path, damaged[i]);
            const BrowserUrlRun result = run(c.link);
            ASSERT_FALSE(result.crashed) << c.link << " copy " << i;
            if (result.exitCode == 0) {
                EXPECT_TRUE(result.out.endsWith('\n') && result.out.size() > 1);
                EXPECT_TRUE(result.err.isEmpty());
                continue;
            }
            refusedCuts += i < cuts;
            ASSERT_EQ(result.exitCode, 1);
            EXPECT_TRUE(result.out.isEmpty());
            EXPECT_TRUE(result.err.startsWith(QByteArray(c.link).append(": ")))
                << result.err.toStdString();
        }
        // A cut rarely falls between two commands, and never leaves a whole compressed block.
        EXPECT_GT(refusedCuts, cuts * 9 / 10) << c.link;
    }
}

} // namespace
