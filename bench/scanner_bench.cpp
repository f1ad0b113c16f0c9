// What one scanner sample costs on X11: the look at the active window (the same window as the
// second before, or a different one that has to be traced to its desktop entry), and one run
// of a browser script. Runs on a bare Xvfb of its own; the X server's share is not counted.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "datalib/thieves/X11TestClient.h"
#include "datalib/thieves/XvfbDisplay.h"
#include "thieves/BrowserScripts.h"
#include "thieves/X11FrontmostSource.h"

namespace {

XvfbDisplay* display = nullptr;

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

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
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
