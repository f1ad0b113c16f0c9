// A real browser on a private Xvfb shows a page this test serves; the script must find its
// address in the session file the browser writes. Slow (a browser start, then its session
// write), so it runs only with ZESTRA_SLOW_TESTS=1.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include "BrowserUrlRun.h"
#include "LocalPageServer.h"
#include "datalib/thieves/XvfbDisplay.h"

namespace {

struct Browser {
    const char* name;
    const char* program;
    const char* link;
};

void PrintTo(const Browser& browser, std::ostream* os)
{
    *os << browser.name;
}

class RealBrowserTest : public ::testing::TestWithParam<Browser> {
protected:
    void SetUp() override
    {
        if (qgetenv("ZESTRA_SLOW_TESTS") != "1")
            GTEST_SKIP() << "starts a real browser; set ZESTRA_SLOW_TESTS=1 to run it";
        program = QStandardPaths::findExecutable(QLatin1String(GetParam().program));
        if (program.isEmpty())
            GTEST_SKIP() << GetParam().program << " is not installed";
    }
    void TearDown() override
    {
        if (browser.state() == QProcess::NotRunning)
            return;
        // The browser and its helpers share the session the modifier gave it.
        ::kill(-static_cast<pid_t>(browser.processId()), SIGTERM);
        if (!browser.waitForFinished(10000)) {
            ::kill(-static_cast<pid_t>(browser.processId()), SIGKILL);
            browser.waitForFinished();
        }
    }

    QString program;
    QProcess browser;
};

TEST_P(RealBrowserTest, TheScriptPrintsThePageTheBrowserShows)
{
    XvfbDisplay display;
    ASSERT_TRUE(display.isRunning()) << display.error().toStdString();
    LocalPageServer server("Zestra test page");
    ASSERT_TRUE(server.isListening());
    QTemporaryDir home;
    const QString url = server.url(QStringLiteral("shown.html?from=zestra"));

    QProcessEnvironment environment;
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
    environment.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(display.name()));
    browser.setProcessEnvironment(environment);
    browser.setStandardOutputFile(QProcess::nullDevice());
    browser.setStandardErrorFile(QProcess::nullDevice());
    browser.setChildProcessModifier([] {
        setsid();
        prctl(PR_SET_PDEATHSIG, SIGKILL);
    });
    QStringList arguments;
    if (QLatin1String(GetParam().name) == QLatin1String("chromium")) {
        arguments = {QStringLiteral("--no-first-run"), QStringLiteral("--no-default-browser-check"),
                     QStringLiteral("--password-store=basic"), QStringLiteral("--disable-gpu")};
        // Chromium refuses to run as root with its sandbox.
        if (getuid() == 0)
            arguments.append(QStringLiteral("--no-sandbox"));
    }
    arguments.append(url);
    browser.start(program, arguments);
    ASSERT_TRUE(browser.waitForStarted());

    // The first session write follows the page load within seconds (Firefox writes every 15).
    BrowserUrlRun last(QLatin1String(GetParam().link), home.path());
    const QDeadlineTimer deadline(90000);
    while (last.out != url.toUtf8() + '\n' && !deadline.hasExpired() &&
           browser.state() == QProcess::Running) {
        // The page server answers from this loop.
        QEventLoop loop;
        QTimer::singleShot(250, &loop, &QEventLoop::quit);
        loop.exec();
        last = BrowserUrlRun(QLatin1String(GetParam().link), home.path());
    }
    EXPECT_GT(server.requests(), 0) << "the browser never asked for the page";
    EXPECT_EQ(last.out, url.toUtf8() + '\n') << ::testing::PrintToString(last);
    EXPECT_FALSE(last.crashed);
    EXPECT_EQ(last.exitCode, 0);
}

INSTANTIATE_TEST_SUITE_P(Installed, RealBrowserTest,
                         ::testing::Values(Browser{"firefox_esr", "firefox-esr", "firefox-esr"},
                                           Browser{"chromium", "chromium", "chromium"}),
                         [](const ::testing::TestParamInfo<Browser>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
