// The report window with the real web view plugin: its first open (plugin load and the
// first page) and segment switches, each from the call that a click makes to the page's
// load-finished signal, and the memory of the process before, with and after the window.
//
//   report_window_bench [--runs N] [--screenshots DIR] [--data DIR [--task NAME]]
//                                                    (QT_QPA_PLATFORM=offscreen or a DISPLAY)
//
// --screenshots saves the window as it shows each report (and the task report of --task),
// for a look at it. --data reads the store of that data folder (for example one filled by
// scripts/demo-week.sh) instead of making one.
//
// Runs in a temporary HOME and XDG folders, by default with five weeks of work in its own store.
#include <algorithm>
#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "reports/ReportEngine.h"
#include "store/DataController.h"
#include "store/Localization.h"
#include "ui/ReportSegments.h"
#include "ui/ReportWindowController.h"

namespace {

// Resident memory in MB of a process, from /proc.
double residentMb(const QString& pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

// The resident memory of this process's children (the web engine's helper processes).
double childrenMb()
{
    const QString self = QString::number(QCoreApplication::applicationPid());
    double total = 0;
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = stat.readAll();
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields.at(1) == self.toLatin1())
            total += residentMb(pid);
    }
    return total;
}

void fill(DataController& store)
{
    const QStringList names = {QStringLiteral("Quarterly report"), QStringLiteral("Code review"),
                               QStringLiteral("Write chapter 3"), QStringLiteral("Email"),
                               QStringLiteral("Design sprint")};
    for (const QString& name : names)
        store.addTaskInfo(TaskInfoParameter(name, QStringLiteral("#59b6e8")));
    const Date today = Date::now().beginningOfDay();
    for (int back = 34; back >= 0; --back) {
        double start = today.addingTimeInterval(-back * Date::dayInterval + 9 * 3600.0)
                           .timeIntervalSinceReferenceDate();
        for (int slot = 0; slot < 8; ++slot) {
            TaskParameter parameter;
            parameter.taskName = names.at((back + slot) % names.size());
            parameter.duration = 1500;
            parameter.startTime = start;
            parameter.endTime = start + 1500;
            store.addTask(parameter);
            start += 1800;
        }
    }
}

// Milliseconds from `act` to the page's load-finished signal; -1 when it never came.
qint64 timed(ReportWindowController& window, const std::function<void()>& act)
{
    QSignalSpy loaded(&window, &ReportWindowController::reportLoaded);
    QElapsedTimer clock;
    clock.start();
    act();
    if (loaded.isEmpty() && !loaded.wait(60000))
        return -1;
    return clock.elapsed();
}

void saveShot(ReportWindowController& window, const QString& path)
{
    // Painted once the engine has handed over its frame.
    QElapsedTimer paint;
    paint.start();
    while (paint.elapsed() < 1500)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    window.grab().save(path);
}

} // namespace

int main(int argc, char** argv)
{
    int runs = 5;
    QString screenshots;
    QString data;
    QString task;
    for (int i = 1; i + 1 < argc; ++i) {
        if (QByteArray(argv[i]) == "--runs")
            runs = std::max(1, QByteArray(argv[i + 1]).toInt());
        if (QByteArray(argv[i]) == "--screenshots")
            screenshots = QString::fromLocal8Bit(argv[i + 1]);
        if (QByteArray(argv[i]) == "--data")
            data = QString::fromLocal8Bit(argv[i + 1]);
        if (QByteArray(argv[i]) == "--task")
            task = QString::fromLocal8Bit(argv[i + 1]);
    }
    QTemporaryDir root;
    for (const char* folder : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"}) {
        const QString path = root.filePath(QString::fromLatin1(folder));
        QDir().mkpath(path);
        qputenv(folder, path.toUtf8());
    }
    qputenv("XDG_RUNTIME_DIR", root.path().toUtf8());
    QApplication app(argc, argv);
    Localization::addCatalogues(QStringLiteral(":/zestra/i18n"));

    DataController store(data.isEmpty() ? root.filePath(QStringLiteral("data")) : data);
    if (data.isEmpty())
        fill(store);
    ReportEngine engine(store);
    ReportWindowController window(engine, store);
    window.resize(1100, 760);

    const QString self = QString::number(QCoreApplication::applicationPid());
    const double before = residentMb(self);
    const qint64 first = timed(window, [&] { window.showReport(); });
    std::printf("first_open_ms=%lld (plugin load, web engine start, welcome page)\n",
                static_cast<long long>(first));

    QList<qint64> switches;
    for (int run = 0; run < runs; ++run) {
        for (int segment = ReportSegments::Today; segment <= ReportSegments::Month; ++segment) {
            const qint64 ms = timed(window, [&] { window.selectSegment(segment); });
            switches.append(ms);
            if (run == 0)
                std::printf("segment_%d_ms=%lld\n", segment, static_cast<long long>(ms));
            if (run == 0 && !screenshots.isEmpty())
                saveShot(window, QStringLiteral("%1/report-%2.png").arg(screenshots).arg(segment));
        }
    }
    if (!screenshots.isEmpty() && !task.isEmpty()) {
        timed(window, [&] { window.searchTask(task); });
        saveShot(window, QStringLiteral("%1/report-task.png").arg(screenshots));
    }
    std::sort(switches.begin(), switches.end());
    std::printf("segment_switch_ms median=%lld max=%lld (%lld switches)\n",
                static_cast<long long>(switches.at(switches.size() / 2)),
                static_cast<long long>(switches.last()), static_cast<long long>(switches.size()));

    const double open = residentMb(self);
    const double helpers = childrenMb();
    window.close();
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    std::printf("rss_mb before=%.1f open=%.1f closed=%.1f; web engine helpers open=%.1f "
                "closed=%.1f\n",
                before, open, residentMb(self), helpers, childrenMb());
    return first < 0 ? 1 : 0;
}
