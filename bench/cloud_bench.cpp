// The cloud on a local throwaway server: the first upload of three years of heavy use (100 000
// pomodoros, 5 000 sessions, 1 000 goals, 50 tasks) in batches of 400, and the time from a
// commit on one computer to the change applied in another one's store, through the push.
//
//   cloud_bench [benchmark flags]

#include <algorithm>
#include <cstdio>
#include <memory>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include "BenchDataset.h"
#include "Console.h"
#include "cloud/CloudDataController.h"
#include "cloud/CloudDatabase.h"
#include "cloud/CloudMigration.h"
#include "cloud/CloudOperationCache.h"
#include "cloud/CloudSchema.h"
#include "cloud/CloudUsers.h"
#include "cloud/PgConnection.h"
#include "cloud/SettingsCloudTokenStore.h"
#include "store/DataController.h"

namespace {

BenchDataset g_dataset;
QString g_root;
QString g_admin;

// The server script's last line is the administrator's URI.
std::optional<QString> server(const char* action)
{
    QProcess script;
    script.start(QStringLiteral("bash"), {QStringLiteral(ZESTRA_CLOUD_DEV_SERVER),
                                          QString::fromLatin1(action), g_root + "/server"});
    if (!script.waitForFinished(180000) || script.exitCode() != 0) {
        std::fprintf(stderr, "cloud_bench: cloud-dev-server.sh %s: %s\n", action,
                     script.readAllStandardError().constData());
        return std::nullopt;
    }
    return QString::fromUtf8(script.readAllStandardOutput()).trimmed().section(u'\n', -1);
}

std::optional<QString> newUser(const char* stem)
{
    CloudError error;
    const std::unique_ptr<PgConnection> admin = PgConnection::open(g_admin, error);
    static int serial = 0;
    const auto user = admin
                          ? CloudUsers::add(*admin, QStringLiteral("%1%2").arg(stem).arg(++serial),
                                            CloudUsers::defaultQuotaBytes * 64, error)
                          : std::nullopt;
    if (!user)
        return std::nullopt;
    return user->uri;
}

void firstUpload(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        // A fresh copy each time: the upload gives every row its record name.
        const QString folder = g_root + QStringLiteral("/upload");
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        const QString copy =
            folder + QLatin1Char('/') + QFileInfo(g_dataset.storeFilePath).fileName();
        QFile::copy(g_dataset.storeFilePath, copy);
        // The dataset is a synced store; this one has never seen a cloud.
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(copy).constData(), &db);
        sqlite3_exec(db,
                     "UPDATE Pomodoro SET cloudRecordID = NULL; UPDATE TaskInfo SET cloudRecordID "
                     "= NULL; UPDATE Session SET cloudRecordID = NULL; UPDATE Goal SET "
                     "cloudRecordID = NULL;",
                     nullptr, nullptr, nullptr);
        sqlite3_close(db);
        DataController store(folder);
        const std::optional<QString> uri = newUser("upload");
        if (!uri) {
            state.SkipWithError("no user could be added");
            return;
        }
        CloudDatabase database(*uri);
        state.ResumeTiming();
        if (!CloudMigration(store, database).migrateToCloud() ||
            !store.unsyncedPomodoros().value_or(QList<Pomodoro>{Pomodoro{}}).isEmpty()) {
            state.SkipWithError("the upload did not finish");
            return;
        }
        state.counters["sessions"] = double(store.stats().sessions);
    }
}

// One computer saves a session; the other's listener hears the push and fetches it.
void pushToApplied(benchmark::State& state)
{
    const std::optional<QString> uri = newUser("push");
    if (!uri) {
        state.SkipWithError("no user could be added");
        return;
    }
    struct Computer {
        explicit Computer(const QString& uri, const QString& folder)
            : store(folder)
            , cache(folder + QStringLiteral("/operations.cache"))
            , engine(std::make_shared<CloudDataController>(
                  uri, std::nullopt, store, cache,
                  std::make_shared<SettingsCloudTokenStore>(folder + QStringLiteral("/t.ini"))))
        {
            store.setCloudSync(engine);
        }
        ~Computer()
        {
            engine->waitForWork();
            store.setCloudSync(nullptr);
        }
        DataController store;
        CloudOperationCache cache;
        std::shared_ptr<CloudDataController> engine;
    };
    Computer desk(*uri, g_root + QStringLiteral("/desk"));
    Computer laptop(*uri, g_root + QStringLiteral("/laptop"));
    laptop.engine->subscribeToCloudEvents();
    laptop.engine->fetchChanges();
    laptop.engine->waitForWork();
    while (!laptop.engine->isListening())
        QThread::msleep(1);

    std::vector<double> latencies;
    double moment = 700000000;
    for (auto _ : state) {
        moment += 60;
        const int before = laptop.store.sessionsFinished(Date(moment));
        QElapsedTimer clock;
        clock.start();
        desk.store.addSession(moment, 4);
        while (laptop.store.sessionsFinished(Date(moment)) == before) {
            if (clock.elapsed() > 10000) {
                state.SkipWithError("the change did not arrive within 10 s");
                return;
            }
            QThread::usleep(200);
        }
        latencies.push_back(double(clock.nsecsElapsed()) / 1e6);
        state.SetIterationTime(latencies.back() / 1000.0);
    }
    std::sort(latencies.begin(), latencies.end());
    state.counters["median_ms"] = latencies[latencies.size() / 2];
    state.counters["p95_ms"] =
        latencies[std::min(latencies.size() - 1, latencies.size() * 95 / 100)];
}

} // namespace

int main(int argc, char** argv)
{
    const auto root = BenchDataset::isolateEnvironment("zestra-cloud-bench");
    if (!root) {
        std::perror("cloud_bench: temporary folder");
        return 1;
    }
    QCoreApplication app(argc, argv);
    Console::setSink([](const QString&) {});
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    g_root = QString::fromLocal8Bit(root->c_str());
    // The server runs as another user when this runs as root: it has to reach its folder.
    QFile::setPermissions(g_root, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                      QFile::ExeGroup | QFile::ExeOther);
    if (const auto error =
            BenchDataset::build(g_root + QStringLiteral("/data/Zestra"), &g_dataset)) {
        std::fprintf(stderr, "cloud_bench: cannot build the dataset: %s\n",
                     error->toLocal8Bit().constData());
        return 1;
    }
    const std::optional<QString> admin = server("start");
    CloudError error;
    const std::unique_ptr<PgConnection> connection =
        admin ? PgConnection::open(*admin, error) : nullptr;
    if (!connection || !CloudSchema::upgrade(*connection, error)) {
        std::fprintf(stderr, "cloud_bench: no server: %s\n",
                     error.message.toLocal8Bit().constData());
        server("stop");
        return 1;
    }
    g_admin = *admin;

    benchmark::RegisterBenchmark("cloud_first_upload_100k", firstUpload)
        ->Unit(benchmark::kSecond)
        ->Iterations(1);
    benchmark::RegisterBenchmark("cloud_push_to_applied", pushToApplied)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(100);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    server("stop");
    QDir(g_root).removeRecursively();
    return 0;
}
