// What one scanner sample costs on X11: the look at the active window (the same window as the
// second before, or a different one that has to be traced to its desktop entry), one run of a
// browser script, and a minute of samples with a browser in front, its scripts included.
// Runs on a bare Xvfb of its own; the X server's share is not counted.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "BenchDataset.h"
#include "datalib/thieves/X11TestClient.h"
#include "datalib/thieves/XvfbDisplay.h"
#include "dispatch/Clock.h"
#include "thieves/BrowserScripts.h"
#include "thieves/FrontmostItemReader.h"
#include "thieves/X11FrontmostSource.h"

namespace {

XvfbDisplay* display = nullptr;

// A clock moved by hand, so that a minute of samples takes no minute.
class BenchClock final : public Clock {
public:
    double now() const override { return m_now; }
    void callAfter(double, std::function<void()>) override {}
    quint64 callAt(double, std::function<void()>) override { return 1; }
    void cancelCall(quint64) override {}
    void advance(double seconds) { m_now += seconds; }

private:
    double m_now = 0;
};
std::shared_ptr<BenchClock> benchClock;

// CPU seconds of this process and of its children that have ended (the scripts; not the
// still running X server).
double cpuSeconds()
{
    rusage self{};
    rusage children{};
    getrusage(RUSAGE_SELF, &self);
    getrusage(RUSAGE_CHILDREN, &children);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(self.ru_utime) + seconds(self.ru_stime) + seconds(children.ru_utime) +
           seconds(children.ru_stime);
}

// Counts the script runs the scan asks for.
class CountingScripts final : public BrowserScriptRunner {
public:
    explicit CountingScripts(BrowserScriptRunner& inner)
        : m_inner(inner)
    {}
    PageAddress pageAddress(const QString& desktopId) override
    {
        ++runs;
        return m_inner.pageAddress(desktopId);
    }
    int runs = 0;

private:
    BrowserScriptRunner& m_inner;
};

// The shipped scripts read session files the real browsers wrote, in the bench's own home.
void placeSessions()
{
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    const QString testdata = QStringLiteral(ZESTRA_BROWSER_TESTDATA "/");
    const QString chromium = config + QStringLiteral("/chromium/Default/Sessions/Session_1");
    const QString firefox = config + QStringLiteral("/mozilla/firefox/");
    const QString profile = firefox + QStringLiteral("qf0643r5.default-esr/sessionstore-backups/");
    QDir().mkpath(QFileInfo(chromium).path());
    QDir().mkpath(profile);
    QFile::copy(testdata + QStringLiteral("chromium-first-window-active-again.snss"), chromium);
    QFile::copy(testdata + QStringLiteral("firefox-profiles.ini"),
                firefox + QStringLiteral("profiles.ini"));
    QFile::copy(testdata + QStringLiteral("firefox-recovery.jsonlz4"),
                profile + QStringLiteral("recovery.jsonlz4"));
    // The scanner knows a browser by its desktop entry.
    const QString entry =
        qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/applications/chromium.desktop");
    QDir().mkpath(QFileInfo(entry).path());
    QFile file(entry);
    if (file.open(QIODevice::WriteOnly))
        file.write("[Desktop Entry]\nType=Application\nName=Chromium\n");
}

void sameWindow(benchmark::State& state)
{
    X11TestClient client(display->name());
    client.activate(client.createWindow("chat", "ChatWindow"));
    X11FrontmostSource source(display->name());
    for (auto _ : state)
        benchmark::DoNotOptimize(source.frontmost());
}
BENCHMARK(sameWindow)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

void otherWindow(benchmark::State& state)
{
    X11TestClient client(display->name());
    const quint32 windows[] = {client.createWindow("chat", "ChatWindow"),
                               client.createWindow("editor", "Editor")};
    X11FrontmostSource source(display->name());
    int i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        client.activate(windows[i++ % 2]);
        state.ResumeTiming();
        benchmark::DoNotOptimize(source.frontmost());
    }
}
BENCHMARK(otherWindow)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

void browserScript(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString path = folder.path() + QStringLiteral("/firefox");
    QFile script(path);
    script.open(QIODevice::WriteOnly);
    script.write("#!/bin/sh\necho https://example.org/\n");
    script.close();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
    BrowserScripts scripts({folder.path()});
    for (auto _ : state)
        benchmark::DoNotOptimize(scripts.pageAddress(QStringLiteral("firefox")));
}
BENCHMARK(browserScript)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

// One run of a shipped script (0: chromium, 1: firefox-esr), the script's own CPU included.
void shippedScript(benchmark::State& state)
{
    const QString link =
        state.range(0) ? QStringLiteral("firefox-esr") : QStringLiteral("chromium");
    BrowserScripts scripts({QStringLiteral(ZESTRA_BROWSER_SCRIPTS_BUILD_DIR)});
    for (auto _ : state) {
        const double before = cpuSeconds();
        const PageAddress page = scripts.pageAddress(link);
        state.SetIterationTime(cpuSeconds() - before);
        if (page.outcome != PageAddress::Outcome::address) {
            state.SkipWithError(qPrintable(page.text));
            break;
        }
    }
}
BENCHMARK(shippedScript)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// A minute of once-a-second samples with Chromium in front, through the scanner's reader and
// the shipped script: CPU per minute, the scripts included. The argument is how often the
// window title changes, in seconds (0: never, as on a page being read).
void browserMinute(benchmark::State& state)
{
    const int every = static_cast<int>(state.range(0));
    X11TestClient client(display->name());
    const quint32 window = client.createWindow("chromium", "Chromium");
    client.setTitle(window, "Page gamma - Chromium");
    client.activate(window);
    X11FrontmostSource source(display->name());
    BrowserScripts shipped({QStringLiteral(ZESTRA_BROWSER_SCRIPTS_BUILD_DIR)});
    CountingScripts scripts(shipped);
    FrontmostItemReader reader(source, scripts, {QStringLiteral("chromium")});
    int second = 0;
    auto sample = [&] {
        if (every && second % every == 0)
            client.setTitle(window, "Page " + QByteArray::number(second));
        ++second;
        benchClock->advance(1);
        QString error;
        const double before = cpuSeconds();
        const std::optional<FrontmostItem> item = reader.read(error);
        const double spent = cpuSeconds() - before;
        if (!item || item->identifier != QLatin1String("127.0.0.1"))
            state.SkipWithError(qPrintable(QStringLiteral("no page: ") + error));
        return spent;
    };
    // Past the asks that follow the first title.
    for (int i = 0; i < 120; ++i)
        sample();
    scripts.runs = 0;
    for (auto _ : state) {
        double spent = 0;
        for (int i = 0; i < 60; ++i)
            spent += sample();
        state.SetIterationTime(spent);
    }
    state.counters["script_runs_per_minute"] =
        benchmark::Counter(scripts.runs, benchmark::Counter::kAvgIterations);
}
BENCHMARK(browserMinute)
    ->Arg(0)
    ->Arg(3)
    ->Arg(1)
    ->Iterations(10)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (!BenchDataset::isolateEnvironment("zestra-scanner-bench")) {
        fprintf(stderr, "cannot make a temporary home\n");
        return 1;
    }
    placeSessions();
    benchClock = std::make_shared<BenchClock>();
    Clock::setShared(benchClock);
    XvfbDisplay server;
    if (!server.isRunning()) {
        fprintf(stderr, "%s\n", qPrintable(server.error()));
        return 1;
    }
    display = &server;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
