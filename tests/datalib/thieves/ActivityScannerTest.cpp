#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>

#include "datalib/store/StoreFixture.h"
#include "datalib/thieves/X11TestClient.h"
#include "datalib/thieves/XvfbDisplay.h"
#include "support/ManualClock.h"
#include "thieves/ActivityScanner.h"
#include "thieves/BrowserScripts.h"
#include "thieves/FrontmostItemReader.h"
#include "thieves/PageAddressMemo.h"
#include "thieves/ThiefDictionary.h"
#include "thieves/ThiefManager.h"
#include "thieves/X11FrontmostSource.h"

namespace {

int openFiles()
{
    return static_cast<int>(
        QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size());
}

// Processes (zombies included) whose parent is this one.
int children()
{
    int count = 0;
    const QString self = QString::number(getpid());
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // pid (comm) state ppid ...: the command may hold spaces, so read after its ')'.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields[1] == self.toLatin1())
            ++count;
    }
    return count;
}

struct Stored {
    QString identifier;
    QString name;
    QString kind;
    double start;
    double end;
    bool operator==(const Stored&) const = default;
};

void PrintTo(const Stored& s, std::ostream* out)
{
    *out << '{' << s.identifier.toStdString() << ", " << s.name.toStdString() << ", "
         << s.kind.toStdString() << ", " << s.start << ", " << s.end << '}';
}

class ActivityScannerTest : public StoreFixture {
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
        StoreFixture::SetUp();
        m_previousDirs = qgetenv("XDG_DATA_DIRS");
        qputenv("XDG_DATA_DIRS", (env->root() + QStringLiteral("/system")).toUtf8());
        t0 = env->clock().now();
        client = std::make_unique<X11TestClient>(display->name());
        ASSERT_TRUE(client->isConnected());
        client->activate(0);

        install("org.example.Chat", "Name=Chat\nName[de]=Plaudern\nStartupWMClass=ChatWindow\n"
                                    "Icon=" +
                                        (env->root() + "/chat.svg").toUtf8() + "\n");
        write(env->root() + "/chat.svg", "<svg id='chat'/>");
        install("editor", "Name=Editor\nExec=editor %F\n");
        install("org.example.Sleeper", "Name=Sleeper\nExec=/usr/bin/sleep %u\n");
        install("firefox", "Name=Firefox\nStartupWMClass=firefox\n");
        install("chromium", "Name=Chromium\n");
        install("brave-browser", "Name=Brave\n");
        script("firefox", "#!/bin/sh\nexec cat '" + (env->root() + "/url").toUtf8() + "'\n");
        script("brave-browser", "#!/bin/sh\necho 'no window' >&2\nexit 3\n");
        for (const char* browser : {"firefox", "chromium", "brave-browser"})
            store->addThieve(ThiefDictionary::make(QLatin1String(browser), QLatin1String(browser),
                                                   QStringLiteral("browser"), true, true),
                             std::nullopt);
    }

    void TearDown() override
    {
        if (!display->isRunning())
            return;
        scanner.reset();
        client.reset();
        qputenv("XDG_DATA_DIRS", m_previousDirs);
        StoreFixture::TearDown();
    }

    void install(const char* id, const QByteArray& lines)
    {
        write(env->dataHome() + "/applications/" + id + ".desktop",
              "[Desktop Entry]\nType=Application\n" + lines);
    }
    void script(const char* id, const QByteArray& text)
    {
        const QString path = env->dataDirectory() + "/browser-scripts/" + id;
        write(path, text);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    static void write(const QString& path, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    void showPage(const char* url) { write(env->root() + "/url", QByteArray(url) + "\n"); }

    // The scanner as the application makes it, on the test's display.
    void makeScanner(const QStringList& browsers)
    {
        scanner = std::make_unique<ActivityScanner>(
            *store, browsers, std::make_unique<X11FrontmostSource>(display->name()),
            std::make_unique<BrowserScripts>());
    }
    // The next once-a-second sample, with `window` in front.
    void tick(quint32 window, double seconds = 1.0)
    {
        client->activate(window);
        env->clock().advance(seconds);
        scanner->waitForSamples();
    }
    QList<Stored> stored()
    {
        QList<Stored> list;
        for (const WorkActivity& a : store->workActivities().value_or(QList<WorkActivity>()))
            list.append({a.identifier.value_or("<none>"), a.name.value_or("<none>"),
                         a.kind.value_or("<none>"), a.startTime - t0, a.endTime - t0});
        return list;
    }

    static XvfbDisplay* display;
    std::unique_ptr<X11TestClient> client;
    std::unique_ptr<ActivityScanner> scanner;
    double t0 = 0;
    QByteArray m_previousDirs;
};

XvfbDisplay* ActivityScannerTest::display = nullptr;

TEST_F(ActivityScannerTest, SwitchingWindowsStoresEachStretchWithItsKind)
{
    QProcess sleeper;
    sleeper.start(QStringLiteral("/usr/bin/sleep"), {QStringLiteral("60")});
    ASSERT_TRUE(sleeper.waitForStarted());
    const quint32 chat = client->createWindow("chat", "ChatWindow");
    const quint32 firefox = client->createWindow("Navigator", "firefox");
    const quint32 chromium = client->createWindow("chromium", "Chromium");
    const quint32 odd = client->createWindow("oddity", "Oddity");
    const quint32 editor = client->createWindow("editor", "Editor");
    const quint32 sleep = client->createWindow("x", "Y", static_cast<quint32>(sleeper.processId()));
    showPage("https://www.example.org/page?q=1");
    client->setTitle(firefox, "Example");

    makeScanner(ThiefManager(*store).browserBundlesBlacklist());
    client->activate(chat);
    scanner->start();
    scanner->waitForSamples();
    tick(chat);
    EXPECT_TRUE(stored().isEmpty()) << "the same application twice stores nothing";
    tick(firefox);
    // A new page, a new title: the browser is asked again once a title has lasted a while.
    showPage("https://news.www.example.net/");
    client->setTitle(firefox, "News");
    tick(firefox, PageAddressMemo::shortestGap);
    tick(chromium); // a browser without a script is an application
    tick(odd);
    tick(editor);
    tick(sleep);
    tick(sleep);
    scanner->stop();
    scanner->stop();
    scanner->saveBeforeTerminate();

    const QList<Stored> expected = {
        {"org.example.Chat", "Chat", "application", 0, 2},
        {"example.org", "example.org", "website", 2, 7},
        {"news.www.example.net", "news.www.example.net", "website", 7, 8},
        {"chromium", "Chromium", "application", 8, 9},
        {"", "Oddity", "application", 9, 10},
        {"editor", "Editor", "application", 10, 11},
        {"org.example.Sleeper", "Sleeper", "application", 11, 12},
    };
    ASSERT_EQ(stored(), expected);
    const QList<WorkActivity> rows = *store->workActivities();
    EXPECT_EQ(rows[0].image, QByteArray("<svg id='chat'/>"));
    EXPECT_TRUE(rows[1].image.has_value()) << "a website gets the generic picture";

    // The time the scan was off is never recorded, and a quit path stores once.
    env->clock().advance(100);
    scanner->start();
    scanner->waitForSamples();
    env->clock().advance(2);
    scanner->waitForSamples();
    scanner->saveBeforeTerminate();
    scanner->saveBeforeTerminate();
    scanner->stop();
    ASSERT_EQ(stored().size(), expected.size() + 1);
    EXPECT_EQ(stored().last(), (Stored{"org.example.Sleeper", "Sleeper", "application", 112, 114}));
    sleeper.kill();
    sleeper.waitForFinished();
}

TEST_F(ActivityScannerTest, BrowsersOutsideTheListAreApplicationsAndFailingScriptsSkip)
{
    const quint32 chat = client->createWindow("chat", "ChatWindow");
    const quint32 firefox = client->createWindow("Navigator", "firefox");
    const quint32 brave = client->createWindow("brave-browser", "Brave-browser");
    showPage("https://www.example.org/");

    // No browser thief is active: firefox is an application like any other.
    makeScanner({});
    scanner->saveBeforeTerminate();
    EXPECT_TRUE(stored().isEmpty()) << "nothing to store before the first sample";
    client->activate(firefox);
    scanner->start();
    scanner->waitForSamples();
    tick(chat);
    scanner->stop();
    ASSERT_EQ(stored().size(), 2) << consoleLines.join('\n').toStdString();
    EXPECT_EQ(stored()[0], (Stored{"firefox", "Firefox", "application", 0, 1}));

    // A script that fails leaves the stretch in progress going, and is said once.
    store->truncateWorkActivities();
    makeScanner({QStringLiteral("brave-browser")});
    consoleLines.clear();
    client->activate(chat);
    scanner->start();
    scanner->waitForSamples();
    tick(brave);
    tick(brave);
    tick(brave);
    EXPECT_TRUE(stored().isEmpty());
    tick(chat);
    scanner->stop();
    ASSERT_EQ(stored().size(), 1);
    EXPECT_EQ(stored()[0], (Stored{"org.example.Chat", "Chat", "application", 1, 5}));
    EXPECT_EQ(consoleLines.filter(QStringLiteral("no window")).size(), 1)
        << consoleLines.join('\n').toStdString();
}

TEST_F(ActivityScannerTest, ADesktopThatCannotBeSeenIsSaidOnceAndRecordsNothing)
{
    // No display, one that does not answer, and one without a window manager.
    client->withdraw();
    for (const QByteArray& name : {QByteArray(), QByteArray(":31999"), display->name()}) {
        scanner = std::make_unique<ActivityScanner>(*store, QStringList(),
                                                    std::make_unique<X11FrontmostSource>(name),
                                                    std::make_unique<BrowserScripts>());
        consoleLines.clear();
        EXPECT_FALSE(scanner->canSee());
        scanner->start();
        scanner->start();
        env->clock().advance(5);
        scanner->waitForSamples();
        scanner->stop();
        scanner->saveBeforeTerminate();
        EXPECT_EQ(consoleLines.size(), 1) << consoleLines.join('\n').toStdString();
        EXPECT_FALSE(scanner->isRunning());
    }
    EXPECT_TRUE(stored().isEmpty());
    // No window in front yet: nothing to record either.
    client->activate(0);
    makeScanner({});
    scanner->start();
    scanner->waitForSamples();
    scanner->stop();
    EXPECT_TRUE(stored().isEmpty());
}

TEST_F(ActivityScannerTest, ABrowserIsAskedWhenItsTitleChangesAndAFewTimesAfter)
{
    const QByteArray runs = (env->root() + "/runs").toUtf8();
    script("firefox", "#!/bin/sh\necho >> '" + runs + "'\nexec cat '" +
                          (env->root() + "/url").toUtf8() + "'\n");
    const quint32 firefox = client->createWindow("Navigator", "firefox");
    const quint32 older = client->createWindow("Navigator", "firefox");
    const quint32 untitled = client->createWindow("Navigator", "firefox");
    client->setTitle(firefox, "Example \xe2\x80\x94 Firefox");
    client->setTitle(older, "Older", true);
    X11FrontmostSource source(display->name());
    BrowserScripts scripts;
    FrontmostItemReader reader(source, scripts, {QStringLiteral("firefox")});
    auto hostAfter = [&](double seconds, quint32 window) {
        env->clock().advance(seconds);
        client->activate(window);
        QString error;
        const std::optional<FrontmostItem> item = reader.read(error);
        return item ? item->identifier : error;
    };
    auto scriptRuns = [&] {
        QFile file(QString::fromUtf8(runs));
        return file.open(QIODevice::ReadOnly) ? file.readAll().count('\n') : 0;
    };

    showPage("https://example.org/");
    EXPECT_EQ(hostAfter(0, firefox), "example.org");
    EXPECT_EQ(source.frontmost()->title, QString::fromUtf8("Example \xe2\x80\x94 Firefox"));
    // The browser's session file lags the title: the same title is asked again after 5 s ...
    showPage("https://example.net/");
    for (int second = 1; second < 5; ++second)
        EXPECT_EQ(hostAfter(1, firefox), "example.org");
    EXPECT_EQ(scriptRuns(), 1);
    EXPECT_EQ(hostAfter(1, firefox), "example.net");
    // ... then after 10, 16 and 32 s, and no more while the title stays.
    for (int second = 6; second < 200; ++second)
        hostAfter(1, firefox);
    EXPECT_EQ(scriptRuns(), 5);

    // A title that changes every second is followed every 5 seconds.
    for (int second = 0; second < 20; ++second) {
        client->setTitle(firefox, "Tick " + QByteArray::number(second));
        hostAfter(1, firefox);
    }
    EXPECT_EQ(scriptRuns(), 5 + 4);

    // WM_NAME alone is a title too; a window with none is asked every 10 seconds.
    showPage("https://example.com/");
    EXPECT_EQ(hostAfter(5, older), "example.com");
    EXPECT_EQ(source.frontmost()->title, QStringLiteral("Older"));
    for (int second = 0; second < 4; ++second)
        hostAfter(1, older);
    EXPECT_EQ(scriptRuns(), 10);
    hostAfter(5, untitled);
    EXPECT_EQ(source.frontmost()->title, QString());
    for (int second = 0; second < 20; ++second)
        hostAfter(1, untitled);
    EXPECT_EQ(scriptRuns(), 11 + 2);
}

TEST_F(ActivityScannerTest, TenThousandSamplesLeaveNoFileConnectionOrProcessBehind)
{
    // The shipped script, reading a session file Chromium wrote ($XDG_CONFIG_HOME/chromium).
    const QString session = env->configHome() + "/chromium/Default/Sessions/Session_1";
    QDir().mkpath(QFileInfo(session).path());
    ASSERT_TRUE(QFile::copy(
        QStringLiteral(ZESTRA_BROWSER_TESTDATA "/chromium-first-window-active-again.snss"),
        session));
    const quint32 chat = client->createWindow("chat", "ChatWindow");
    const quint32 chat2 = client->createWindow("chat", "ChatWindow");
    const quint32 chromium = client->createWindow("chromium", "Chromium");
    client->setTitle(chromium, "Page gamma - Chromium");
    scanner =
        std::make_unique<ActivityScanner>(*store, QStringList{QStringLiteral("chromium")},
                                          std::make_unique<X11FrontmostSource>(display->name()),
                                          std::make_unique<BrowserScripts>(QStringList{
                                              QStringLiteral(ZESTRA_BROWSER_SCRIPTS_BUILD_DIR)}));
    client->activate(chromium);
    scanner->start();
    scanner->waitForSamples();
    tick(chat);
    const int files = openFiles();
    const int processes = children();

    // Alternating windows of one application: each sample traces its window anew, and
    // stores nothing.
    for (int i = 0; i < 5000; ++i) {
        client->activate(i % 2 ? chat : chat2);
        env->clock().advance(1);
        if (i % 100 == 0)
            scanner->waitForSamples();
    }
    // A browser whose title changes at every sample: its script runs every five seconds, a
    // thousand times.
    client->activate(chromium);
    for (int i = 0; i < 5000; ++i) {
        client->setTitle(chromium, "Page " + QByteArray::number(i));
        env->clock().advance(1);
        scanner->waitForSamples();
    }
    tick(chat);
    scanner->stop();
    for (int i = 0; i < 20; ++i)
        X11FrontmostSource source(display->name());

    // The page, the chat windows, the page again, the chat window.
    ASSERT_EQ(stored().size(), 4);
    EXPECT_EQ(stored()[0].identifier, "127.0.0.1");
    EXPECT_EQ(stored()[2].identifier, "127.0.0.1");
    EXPECT_EQ(openFiles(), files);
    EXPECT_EQ(children(), processes);
}

} // namespace
