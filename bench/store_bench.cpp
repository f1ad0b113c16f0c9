// Timings of the store's hot operations on three years of heavy use (100 000 pomodoros).
//
//   store_bench [--keep-dataset DIR] [benchmark flags]
//
// The dataset is built afresh in a temporary folder on every run. With --keep-dataset it is
// built in DIR instead (DIR/Pomodoro.DataModel, replacing any store there) and left behind,
// so that bench/sqlite_shell_compare.sh can time the same queries on the same file.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <malloc.h>
#include <sys/stat.h>

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include "BenchDataset.h"
#include "Console.h"
#include "store/DataController.h"

namespace {

constexpr int daysInMonth = 30;

BenchDataset g_dataset;
QString g_root;
QString g_addTaskTemplate;
std::unique_ptr<DataController> g_store;

// One long-lived store for the read benchmarks, as the application keeps one.
DataController& sharedStore()
{
    if (!g_store)
        g_store = std::make_unique<DataController>(g_dataset.dataDirectory);
    return *g_store;
}

std::optional<double> residentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return std::nullopt;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmRSS:")) {
            bool ok = false;
            const double kilobytes = line.mid(6).trimmed().split(' ').first().toDouble(&ok);
            if (ok)
                return kilobytes / 1024.0;
        }
    }
    return std::nullopt;
}

bool replaceStoreFile(const QString& from, const QString& directory)
{
    QDir(directory).removeRecursively();
    if (!QDir().mkpath(directory))
        return false;
    return QFile::copy(from,
                       directory + QLatin1Char('/') + QLatin1String(DataController::modelName));
}

// Each repetition starts from the pristine file, so today's rows (which the Today summary
// reads back on every save) do not pile up from one repetition to the next.
void addTask(benchmark::State& state)
{
    const QString directory = g_root + QStringLiteral("/addtask");
    if (!replaceStoreFile(g_addTaskTemplate, directory)) {
        state.SkipWithError("cannot copy the store");
        return;
    }
    DataController store(directory);
    const int before = store.tasksFinished(g_dataset.today);
    double start = g_dataset.today.timeIntervalSinceReferenceDate();
    for (auto _ : state) {
        TaskParameter parameter;
        parameter.startTime = start;
        parameter.endTime = start + 1500;
        parameter.duration = 1500;
        parameter.freeTimeDuration = 300;
        parameter.taskName = QStringLiteral("Task 7");
        store.addTask(parameter);
        start += 0.25;
    }
    if (store.tasksFinished(g_dataset.today) != before + static_cast<int>(state.iterations()))
        state.SkipWithError("addTask did not store every pomodoro");
}

void pomodorosForDate(benchmark::State& state)
{
    DataController& store = sharedStore();
    const auto first = store.pomodorosForDate(g_dataset.typicalDay);
    if (!first || first->size() < 90) {
        state.SkipWithError("the typical day is not in the store");
        return;
    }
    for (auto _ : state) {
        auto rows = store.pomodorosForDate(g_dataset.typicalDay);
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = static_cast<double>(first->size());
}

void dates(benchmark::State& state)
{
    DataController& store = sharedStore();
    const auto first = store.dates();
    if (!first || first->size() < BenchDataset::pomodoroCount) {
        state.SkipWithError("the store misses pomodoros");
        return;
    }
    for (auto _ : state) {
        auto all = store.dates();
        benchmark::DoNotOptimize(all);
    }
    state.counters["rows"] = static_cast<double>(first->size());
}

void timeDedicated(benchmark::State& state)
{
    DataController& store = sharedStore();
    const QString task = QStringLiteral("Task 7");
    if (store.timeDedicated(task) <= 0) {
        state.SkipWithError("Task 7 has no time");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(store.timeDedicated(task));
}

void tasksFinishedMonth(benchmark::State& state)
{
    DataController& store = sharedStore();
    if (store.tasksFinished(g_dataset.monthStart) <= 0) {
        state.SkipWithError("the month is not in the store");
        return;
    }
    for (auto _ : state) {
        int total = 0;
        for (int day = 0; day < daysInMonth; ++day)
            total += store.tasksFinished(
                g_dataset.monthStart.addingTimeInterval(day * Date::dayInterval));
        benchmark::DoNotOptimize(total);
    }
}

void executionsMonth(benchmark::State& state)
{
    DataController& store = sharedStore();
    const QString generic = QStringLiteral("Task");
    int first = 0;
    for (int day = 0; day < daysInMonth; ++day)
        first += store.executions(generic,
                                  g_dataset.monthStart.addingTimeInterval(day * Date::dayInterval));
    if (first <= 0) {
        state.SkipWithError("no generic tasks in the month");
        return;
    }
    for (auto _ : state) {
        int total = 0;
        for (int day = 0; day < daysInMonth; ++day)
            total += store.executions(
                generic, g_dataset.monthStart.addingTimeInterval(day * Date::dayInterval));
        benchmark::DoNotOptimize(total);
    }
    state.counters["matches"] = first;
}

void exportToCSV(benchmark::State& state)
{
    DataController& store = sharedStore();
    const QString path = g_root + QStringLiteral("/export.csv");
    if (!store.exportToCSV(path, g_dataset.exportDay)) {
        state.SkipWithError("exportToCSV failed");
        return;
    }
    QFile written(path);
    if (!written.open(QIODevice::ReadOnly) ||
        written.readAll().count('\n') != BenchDataset::exportDayCount) {
        state.SkipWithError("the export day does not hold twelve pomodoros");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(store.exportToCSV(path, g_dataset.exportDay));
}

// The resident memory that opening the store and its first query add, taken once: later
// opens reuse what the allocator kept from earlier ones.
double openGrowthMegabytes()
{
    static const double growth = [] {
        malloc_trim(0);
        const auto before = residentMegabytes();
        DataController store(g_dataset.dataDirectory);
        benchmark::DoNotOptimize(store.tasksFinished(g_dataset.typicalDay));
        const auto after = residentMegabytes();
        return before && after ? *after - *before : -1.0;
    }();
    return growth;
}

// A process starting up: no other connection holds the file open.
void openStore(benchmark::State& state)
{
    g_store.reset();
    const double growth = openGrowthMegabytes();
    for (auto _ : state) {
        const auto started = std::chrono::steady_clock::now();
        auto store = std::make_unique<DataController>(g_dataset.dataDirectory);
        benchmark::DoNotOptimize(store->tasksFinished(g_dataset.typicalDay));
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
        state.SetIterationTime(elapsed.count());
        store.reset();
    }
    state.counters["rss_growth_MB"] = growth;
}

struct Options {
    std::optional<QString> keepDataset;
    bool repetitionsGiven = false;
};

// Takes our own option out of argv, leaving the benchmark flags.
std::optional<Options> parseOptions(int* argc, char** argv)
{
    Options options;
    std::vector<char*> rest;
    for (int i = 0; i < *argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--keep-dataset") == 0) {
            if (i + 1 >= *argc)
                return std::nullopt;
            options.keepDataset = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strncmp(arg, "--keep-dataset=", 15) == 0) {
            options.keepDataset = QString::fromLocal8Bit(arg + 15);
        } else {
            if (std::strncmp(arg, "--benchmark_repetitions", 23) == 0)
                options.repetitionsGiven = true;
            rest.push_back(argv[i]);
        }
    }
    for (size_t i = 0; i < rest.size(); ++i)
        argv[i] = rest[i];
    *argc = static_cast<int>(rest.size());
    argv[*argc] = nullptr;
    return options;
}

void registerBenchmarks(bool repetitionsGiven)
{
    std::vector<benchmark::internal::Benchmark*> all = {
        benchmark::RegisterBenchmark("addTask_save_today", addTask)->Iterations(200),
        benchmark::RegisterBenchmark("pomodorosForDate", pomodorosForDate),
        benchmark::RegisterBenchmark("dates", dates),
        benchmark::RegisterBenchmark("timeDedicated_Task7", timeDedicated),
        benchmark::RegisterBenchmark("tasksFinished_x30", tasksFinishedMonth),
        benchmark::RegisterBenchmark("executions_Task_x30", executionsMonth),
        benchmark::RegisterBenchmark("exportToCSV_12", exportToCSV),
        benchmark::RegisterBenchmark("open_first_query", openStore)->UseManualTime(),
    };
    for (auto* b : all) {
        b->Unit(benchmark::kMicrosecond);
        if (!repetitionsGiven)
            b->Repetitions(10)->ReportAggregatesOnly(true);
    }
}

} // namespace

int main(int argc, char** argv)
{
    const auto options = parseOptions(&argc, argv);
    if (!options) {
        std::fprintf(stderr, "usage: %s [--keep-dataset DIR] [benchmark flags]\n", argv[0]);
        return 2;
    }
    const auto root = BenchDataset::isolateEnvironment("zestra-bench");
    if (!root) {
        std::perror("store_bench: temporary folder");
        return 1;
    }
    QCoreApplication app(argc, argv);
    // Benchmark results own standard output.
    Console::setSink(
        [](const QString& text) { std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData()); });
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;

    g_root = QString::fromLocal8Bit(root->c_str());
    const QString dataDirectory = options->keepDataset ? QDir(*options->keepDataset).absolutePath()
                                                       : g_root + QStringLiteral("/data/Zestra");
    QElapsedTimer building;
    building.start();
    if (const auto error = BenchDataset::build(dataDirectory, &g_dataset)) {
        std::fprintf(stderr, "store_bench: cannot build the dataset: %s\n",
                     error->toLocal8Bit().constData());
        QDir(g_root).removeRecursively();
        return 1;
    }
    std::fprintf(stderr, "store_bench: dataset %s built in %.2f s\n",
                 g_dataset.storeFilePath.toLocal8Bit().constData(),
                 static_cast<double>(building.elapsed()) / 1000.0);
    g_addTaskTemplate = g_root + QStringLiteral("/addtask-template.DataModel");
    if (!QFile::copy(g_dataset.storeFilePath, g_addTaskTemplate)) {
        std::fprintf(stderr, "store_bench: cannot copy the dataset\n");
        QDir(g_root).removeRecursively();
        return 1;
    }

    registerBenchmarks(options->repetitionsGiven);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    // Closing the last connection folds the write-ahead log back into the kept file.
    g_store.reset();
    QDir(g_root).removeRecursively();
    if (options->keepDataset)
        std::fprintf(stderr, "store_bench: dataset kept at %s\n",
                     g_dataset.storeFilePath.toLocal8Bit().constData());
    return 0;
}
