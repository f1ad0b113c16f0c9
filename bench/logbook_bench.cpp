// The logbook on a day of 30 records: from the click on a day to its rows painted, on the
// offscreen platform, and the building of the rows alone.
//
//   logbook_bench [benchmark flags]

#include <memory>

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QToolButton>

#include "reports/LogbookDay.h"
#include "store/DataController.h"
#include "store/Localization.h"
#include "ui/BitacoraWindowController.h"

namespace {

DataController* g_store = nullptr;

// 24 pomodoros over four tasks, 5 sessions and the goal: 30 records on each of the two days.
void fillDay(DataController& store, Date day)
{
    const double morning = day.beginningOfDay().timeIntervalSinceReferenceDate() + 8 * 3600;
    const QStringList names = {QStringLiteral("Quarterly report"), QStringLiteral("Code review"),
                               QStringLiteral("Email"), QStringLiteral("Write chapter 3")};
    for (int i = 0; i < 24; ++i) {
        TaskParameter parameter;
        parameter.startTime = morning + i * 1800;
        parameter.endTime = *parameter.startTime + 1500;
        parameter.duration = 1500;
        parameter.freeTimeDuration = 300;
        parameter.taskName = names.at(i % names.size());
        store.addTask(parameter);
        if (i % 5 == 4)
            store.addSession(morning + i * 1800 + 1500, 4);
    }
    store.addSession(morning + 23 * 1800 + 1500, 4);
    store.addGoal(morning + 23 * 1800 + 1510, 24);
}

void BM_LogbookClickToRowsPainted(benchmark::State& state)
{
    BitacoraWindowController window(*g_store);
    int installs = 0;
    QObject::connect(&window, &BitacoraWindowController::rowsInstalled, &window,
                     [&installs] { ++installs; });
    window.show();
    while (installs == 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);

    bool back = true;
    for (auto _ : state) {
        const int before = installs;
        (back ? window.buttonPreviousDay() : window.buttonNextDay())->click();
        while (installs == before)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        // The layout and paint of the new rows, synchronously.
        QCoreApplication::processEvents();
        window.repaint();
        back = !back;
    }
    state.counters["rows"] = static_cast<double>(window.cells().size());
}
BENCHMARK(BM_LogbookClickToRowsPainted)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LogbookRowsOnly(benchmark::State& state)
{
    const Date today = Date::now();
    for (auto _ : state) {
        LogbookDay logbook(LogbookDay::read(*g_store, today));
        benchmark::DoNotOptimize(logbook.rows().size());
    }
}
BENCHMARK(BM_LogbookRowsOnly)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", (dir.path() + QStringLiteral("/data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (dir.path() + QStringLiteral("/config")).toUtf8());
    QApplication app(argc, argv);
    Localization::addCatalogues(QStringLiteral(":/zestra/i18n"));

    DataController store(dir.path() + QStringLiteral("/data/Zestra"));
    g_store = &store;
    for (const QString& name : {QStringLiteral("Quarterly report"), QStringLiteral("Code review"),
                                QStringLiteral("Email"), QStringLiteral("Write chapter 3")})
        store.addTaskInfo(TaskInfoParameter(name, QStringLiteral("#59b6e8")));
    fillDay(store, Date::now());
    fillDay(store, Date::now().previous());

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
