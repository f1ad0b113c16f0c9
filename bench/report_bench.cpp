// Timings of the report engine on three years of heavy use (100 000 pomodoros): the HTML of
// a day, a month and one task over its whole history, as the report window asks for them.
//
//   report_bench [benchmark flags]

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include <sys/stat.h>

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>

#include "BenchDataset.h"
#include "Console.h"
#include "reports/ReportEngine.h"
#include "store/DataController.h"

namespace {

constexpr int daysInMonth = 30;

BenchDataset g_dataset;
std::unique_ptr<DataController> g_store;
std::unique_ptr<ReportEngine> g_engine;

// The application keeps one store and one engine; so do the benchmarks.
ReportEngine& engine()
{
    if (!g_engine) {
        g_store = std::make_unique<DataController>(g_dataset.dataDirectory);
        g_engine = std::make_unique<ReportEngine>(*g_store,
                                                  QLocale(QLocale::English, QLocale::UnitedStates));
    }
    return *g_engine;
}

// Fails the benchmark when the page is not a filled report (an empty or error page).
bool isReport(benchmark::State& state, const QString& page, const char* marker)
{
    if (page.contains(QLatin1String(marker)))
        return true;
    state.SkipWithError("the engine did not answer a filled report");
    return false;
}

void dayReport(benchmark::State& state)
{
    ReportEngine& reports = engine();
    if (!isReport(state, reports.report(g_dataset.typicalDay), "bullet-1"))
        return;
    qsizetype size = 0;
    for (auto _ : state) {
        const QString page = reports.report(g_dataset.typicalDay);
        size = page.size();
        benchmark::DoNotOptimize(page.constData());
    }
    state.counters["chars"] = static_cast<double>(size);
}

void monthReport(benchmark::State& state)
{
    ReportEngine& reports = engine();
    const ReportPeriod month(g_dataset.monthStart, g_dataset.monthStart.addingTimeInterval(
                                                       (daysInMonth - 1) * Date::dayInterval));
    if (!isReport(state, reports.reportForMonth(month), "bullet-1"))
        return;
    qsizetype size = 0;
    for (auto _ : state) {
        const QString page = reports.reportForMonth(month);
        size = page.size();
        benchmark::DoNotOptimize(page.constData());
    }
    state.counters["chars"] = static_cast<double>(size);
}

void taskReport(benchmark::State& state)
{
    ReportEngine& reports = engine();
    const QString name = QStringLiteral("Task 7");
    if (!isReport(state, reports.report(name), "<h1>Task 7</h1>"))
        return;
    qsizetype size = 0;
    for (auto _ : state) {
        const QString page = reports.report(name);
        size = page.size();
        benchmark::DoNotOptimize(page.constData());
    }
    state.counters["chars"] = static_cast<double>(size);
}

} // namespace

int main(int argc, char** argv)
{
    const auto root = BenchDataset::isolateEnvironment("zestra-report-bench");
    if (!root) {
        std::perror("report_bench: temporary folder");
        return 1;
    }
    QCoreApplication app(argc, argv);
    // Benchmark results own standard output.
    Console::setSink(
        [](const QString& text) { std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData()); });
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;

    const QString rootPath = QString::fromLocal8Bit(root->c_str());
    QElapsedTimer building;
    building.start();
    if (const auto error =
            BenchDataset::build(rootPath + QStringLiteral("/data/Zestra"), &g_dataset)) {
        std::fprintf(stderr, "report_bench: cannot build the dataset: %s\n",
                     error->toLocal8Bit().constData());
        QDir(rootPath).removeRecursively();
        return 1;
    }
    std::fprintf(stderr, "report_bench: dataset built in %.2f s\n",
                 static_cast<double>(building.elapsed()) / 1000.0);

    for (auto* b : {benchmark::RegisterBenchmark("report_day", dayReport),
                    benchmark::RegisterBenchmark("report_month", monthReport),
                    benchmark::RegisterBenchmark("report_task_three_years", taskReport)})
        b->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    g_engine.reset();
    g_store.reset();
    QDir(rootPath).removeRecursively();
    return 0;
}
