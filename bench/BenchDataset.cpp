#include "BenchDataset.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <random>

#include <sys/stat.h>
#include <unistd.h>

#include <sqlite3.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QUuid>

#include "store/DataController.h"
#include "store/TaskInfo.h"

namespace {

// Local time of day on the day `daysAgo` before `today`, as a store moment.
double localMoment(QDate today, int daysAgo, QTime time)
{
    return Date::fromDateTime(QDateTime(today.addDays(-daysAgo), time))
        .timeIntervalSinceReferenceDate();
}

class Statement {
public:
    Statement(sqlite3* db, const char* sql)
    {
        sqlite3_prepare_v2(db, sql, -1, &m_statement, nullptr);
    }
    ~Statement() { sqlite3_finalize(m_statement); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool valid() const { return m_statement != nullptr; }
    Statement& bind(int index, double value)
    {
        sqlite3_bind_double(m_statement, index, value);
        return *this;
    }
    Statement& bind(int index, int value)
    {
        sqlite3_bind_int(m_statement, index, value);
        return *this;
    }
    Statement& bind(int index, const QByteArray& text)
    {
        sqlite3_bind_text(m_statement, index, text.constData(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT);
        return *this;
    }
    Statement& bindNull(int index)
    {
        sqlite3_bind_null(m_statement, index);
        return *this;
    }
    bool run()
    {
        const int rc = sqlite3_step(m_statement);
        sqlite3_reset(m_statement);
        sqlite3_clear_bindings(m_statement);
        return rc == SQLITE_DONE;
    }

private:
    sqlite3_stmt* m_statement = nullptr;
};

class Filler {
public:
    Filler(sqlite3* db, QDate today)
        : m_today(today)
        , m_taskInfo(db, "INSERT INTO TaskInfo (id, name, color, createdAt, cloudRecordID) "
                         "VALUES (?, ?, ?, ?, ?)")
        , m_pomodoro(db, "INSERT INTO Pomodoro (startTime, endTime, duration, freeTimeDuration, "
                         "taskName, taskInfo, cloudRecordID) VALUES (?, ?, ?, ?, ?, ?, ?)")
        , m_session(db, "INSERT INTO Session (finishedAt, tasksCount, cloudRecordID) "
                        "VALUES (?, ?, ?)")
        , m_goal(db, "INSERT INTO Goal (achieveAt, tasksCount, cloudRecordID) VALUES (?, ?, ?)")
    {}

    bool valid() const
    {
        return m_taskInfo.valid() && m_pomodoro.valid() && m_session.valid() && m_goal.valid();
    }

    bool fill() { return tasks() && pomodoros() && exportDay() && sessions() && goals(); }

private:
    // Synced records carry a server-assigned UUID; a seeded one keeps runs comparable.
    QByteArray recordName()
    {
        const std::uint64_t high = m_random();
        const std::uint64_t low = m_random();
        return QUuid(static_cast<uint>(high >> 32), static_cast<ushort>(high >> 16),
                     static_cast<ushort>(high), static_cast<uchar>(low >> 56),
                     static_cast<uchar>(low >> 48), static_cast<uchar>(low >> 40),
                     static_cast<uchar>(low >> 32), static_cast<uchar>(low >> 24),
                     static_cast<uchar>(low >> 16), static_cast<uchar>(low >> 8),
                     static_cast<uchar>(low))
            .toByteArray(QUuid::WithoutBraces);
    }

    double uniform() { return std::uniform_real_distribution<double>(0.0, 1.0)(m_random); }
    int between(int low, int high)
    {
        return std::uniform_int_distribution<int>(low, high)(m_random);
    }

    bool tasks()
    {
        static constexpr std::array colors = {TaskInfo::Colors::red,      TaskInfo::Colors::orange,
                                              TaskInfo::Colors::grass,    TaskInfo::Colors::aqua,
                                              TaskInfo::Colors::lavander, TaskInfo::Colors::pink};
        for (int id = 1; id <= BenchDataset::taskCount; ++id) {
            const double createdAt = localMoment(
                m_today, BenchDataset::dayCount + BenchDataset::taskCount - id, QTime(9, 0));
            m_taskInfo.bind(1, id)
                .bind(2, QStringLiteral("Task %1").arg(id).toUtf8())
                .bind(3,
                      TaskInfo::rawValue(colors[static_cast<size_t>(id) % colors.size()]).toUtf8())
                .bind(4, createdAt)
                .bind(5, recordName());
            if (!m_taskInfo.run())
                return false;
        }
        return true;
    }

    // Most work is on a catalogued task; about one in seven is a generic "Task".
    bool pomodoro(double start, int duration)
    {
        const bool generic = uniform() < 0.15;
        m_pomodoro.bind(1, start)
            .bind(2, start + duration)
            .bind(3, duration)
            .bind(4, between(0, 3) == 0 ? 900 : 300)
            .bind(7, recordName());
        if (generic)
            m_pomodoro.bind(5, QByteArrayLiteral("Task")).bindNull(6);
        else
            m_pomodoro.bindNull(5).bind(6, between(1, BenchDataset::taskCount));
        return m_pomodoro.run();
    }

    int duration()
    {
        static constexpr std::array durations = {1500, 1500, 1500, 1800, 3000};
        return durations[static_cast<size_t>(between(0, durations.size() - 1))];
    }

    // Evenly many a day, between 08:00 and 20:00 local, in one jittered slot each.
    bool pomodoros()
    {
        const long long total = BenchDataset::pomodoroCount;
        const long long days = BenchDataset::dayCount;
        for (long long day = 0; day < days; ++day) {
            const int count = static_cast<int>((day + 1) * total / days - day * total / days);
            const int daysAgo = static_cast<int>(days - 1 - day);
            const double opening = localMoment(m_today, daysAgo, QTime(8, 0));
            const double slot = 12 * 3600.0 / count;
            for (int i = 0; i < count; ++i) {
                if (!pomodoro(opening + i * slot + uniform() * (slot - 60.0), duration()))
                    return false;
            }
        }
        return true;
    }

    bool exportDay()
    {
        const double opening = localMoment(m_today, BenchDataset::dayCount + 7, QTime(9, 0)) + 0.25;
        for (int i = 0; i < BenchDataset::exportDayCount; ++i) {
            if (!pomodoro(opening + i * 1800.0, 1500))
                return false;
        }
        return true;
    }

    bool sessions()
    {
        for (int i = 0; i < BenchDataset::sessionCount; ++i) {
            const int daysAgo = between(0, BenchDataset::dayCount - 1);
            const double at = localMoment(m_today, daysAgo, QTime(10, 0)) + uniform() * 10 * 3600.0;
            m_session.bind(1, at).bind(2, between(1, 8)).bind(3, recordName());
            if (!m_session.run())
                return false;
        }
        return true;
    }

    bool goals()
    {
        for (int i = 0; i < BenchDataset::goalCount; ++i) {
            const int daysAgo = between(0, BenchDataset::dayCount - 1);
            const double at = localMoment(m_today, daysAgo, QTime(12, 0)) + uniform() * 8 * 3600.0;
            m_goal.bind(1, at).bind(2, between(8, 12)).bind(3, recordName());
            if (!m_goal.run())
                return false;
        }
        return true;
    }

    QDate m_today;
    std::mt19937_64 m_random{20010101};
    Statement m_taskInfo;
    Statement m_pomodoro;
    Statement m_session;
    Statement m_goal;
};

QString errorOf(sqlite3* db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}

bool run(sqlite3* db, const char* sql)
{
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

} // namespace

std::optional<QString> BenchDataset::build(const QString& dataDirectory, BenchDataset* dataset)
{
    if (!QDir().mkpath(dataDirectory))
        return QStringLiteral("Cannot create %1").arg(dataDirectory);
    const QString path =
        dataDirectory + QLatin1Char('/') + QLatin1String(DataController::modelName);
    for (const char* suffix : {"", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(suffix));

    // The store writes its own schema; the rows go in through a connection of our own.
    {
        DataController store(dataDirectory);
        store.stats();
    }

    const QDate today = Date::now().toDateTime().date();
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) !=
        SQLITE_OK) {
        const QString error = errorOf(db);
        sqlite3_close(db);
        return error;
    }
    std::optional<QString> error;
    if (!run(db, "BEGIN IMMEDIATE")) {
        error = errorOf(db);
    } else {
        bool filled = false;
        {
            Filler filler(db, today);
            filled = filler.valid() && filler.fill();
        }
        if (!filled || !run(db, "COMMIT")) {
            error = errorOf(db);
            run(db, "ROLLBACK");
        }
    }
    sqlite3_close(db);
    if (error)
        return error;

    dataset->dataDirectory = dataDirectory;
    dataset->storeFilePath = path;
    dataset->today = Date(localMoment(today, 0, QTime(12, 0)));
    dataset->typicalDay = Date(localMoment(today, 100, QTime(12, 0)));
    dataset->monthStart = Date(localMoment(today, 400, QTime(12, 0)));
    dataset->exportDay = Date(localMoment(today, dayCount + 7, QTime(12, 0)));
    return std::nullopt;
}

std::optional<std::string> BenchDataset::isolateEnvironment(const char* name)
{
    setenv("TZ", "Europe/Madrid", 1);
    tzset();
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + '/' + name + "-XXXXXX";
    if (!mkdtemp(pattern.data()))
        return std::nullopt;
    for (const char* folder : {"data", "config", "cache"}) {
        const std::string path = pattern + '/' + folder;
        if (mkdir(path.c_str(), 0700) != 0)
            return std::nullopt;
    }
    setenv("HOME", pattern.c_str(), 1);
    setenv("XDG_DATA_HOME", (pattern + "/data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (pattern + "/config").c_str(), 1);
    setenv("XDG_CACHE_HOME", (pattern + "/cache").c_str(), 1);
    return pattern;
}
