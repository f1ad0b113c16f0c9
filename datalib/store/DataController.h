#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include "store/Date.h"
#include "store/Goal.h"
#include "store/Pomodoro.h"
#include "store/Session.h"
#include "store/TaskInfo.h"
#include "store/TaskInfoParameter.h"
#include "store/TaskParameter.h"
#include "store/Thief.h"
#include "store/WorkActivity.h"
#include "tallycore_export.h"

class CloudSync;
class CloudLink;
class StoreContext;
class PomodoroRecords;
class SessionGoalRecords;
class TaskCatalogue;
class StoreMaintenance;
class CsvExporter;
class TodaySummary;
class ThiefCatalogue;
class WorkActivityRecords;

// The one way into the stored records. Every operation holds the store's lock for its
// whole run, so it may be called from any thread.
class TALLYCORE_EXPORT DataController {
public:
    struct Stats {
        int tasks = 0;
        int sessions = 0;
        int goals = 0;
        int thieves = 0;
        int activities = 0;
    };

    static constexpr const char* modelName = "Pomodoro.DataModel";

    enum class OpenMode {
        ReadWrite,
        // A store whose folder or file cannot be written is opened for reading only.
        ReadOnlyWhenUnwritable,
    };

    // The store of $XDG_DATA_HOME/Zestra, created on first use.
    static DataController& sharedInstance();
    // $XDG_DATA_HOME/Zestra
    static QString defaultDataDirectory();

    // The store file is opened by the first operation, not here. Without a cloud, writes
    // go to a cloud that is not configured.
    explicit DataController(QString dataDirectory, std::shared_ptr<CloudSync> cloud = nullptr);
    ~DataController();
    DataController(const DataController&) = delete;
    DataController& operator=(const DataController&) = delete;

    QString applicationDocumentsDirectory() const;
    QString storeFilePath() const;
    // Replaces the cloud the store writes to (the sync engine installs itself here).
    void setCloudSync(std::shared_ptr<CloudSync> cloud);

    // Opens the store file now. Unlike the first operation, which ends the process when the
    // store cannot open, this answers false and leaves the reason in lastError().
    bool open(OpenMode mode = OpenMode::ReadWrite);
    bool isReadOnly();
    // Why the last operation (or open()) failed: a write the store refused or could not save,
    // or a query that failed; absent when it went well. The operations themselves keep their
    // answers (absent, 0, nothing).
    std::optional<QString> lastError();

    // Store lifecycle
    // False when the save failed; the changes then stay pending for the next save.
    bool saveContext();
    void resetContext();
    bool hasChanges();
    void truncateAll();
    Stats stats();
    void iCloudPreviousState();
    std::optional<QList<Pomodoro>> unsyncedPomodoros();
    std::optional<QList<TaskInfo>> unsyncedTaskInfos();
    std::optional<QList<Session>> unsyncedSessions();
    std::optional<QList<Goal>> unsyncedGoals();

    // Task records
    void addTask(const TaskParameter& parameter);
    std::optional<QList<Pomodoro>> pomodorosForDate(Date date);
    std::optional<QList<Pomodoro>> pomodoros(Date since, Date to);
    std::optional<QList<Pomodoro>> pomodoros(const QString& named);
    std::optional<QList<Date>> dates();
    int tasksFinished(Date onDate);
    int executions(const QString& ofTaskNamed);
    int executions(const QString& ofTaskNamed, Date onDate);
    // One count per listed day (its day bounds), in the list's order, from one query: all
    // tasks, or the tasks a report groups under a name (linked to a task of that name; for
    // the generic name also every task without a named task). Zeros when the query fails.
    QList<int> tasksFinishedPerDay(const QList<Date>& onDates);
    QList<int> executionsPerDay(const QString& ofRecordNamed, const QList<Date>& onDates);
    int timeDedicated(const QString& to);
    void updatePomodoroName(const QString& name, Date startedAt);
    void deletePomodoro(Date startedAt);
    // The writes `writes` makes through this store, committed together when it returns.
    void saveOnce(const std::function<void()>& writes);
    void updatePomodoro(const QString& cloudRecordID, Date startedAt);
    void addTask(const TaskParameter& parameter, const QString& withRecordID,
                 const std::optional<QString>& taskInfoID);
    void updateTask(const QString& taskInfoID, const QString& withRecordID);
    void deletePomodoro(const QString& cloudRecordID);

    // Session and goal records
    void addSession(int tasksCount);
    void addSession(double dated, int tasksCount);
    std::optional<QList<Session>> sessionsForDate(Date date);
    std::optional<QList<Session>> sessions(Date since, Date to);
    int sessionsFinished(Date onDate);
    void updateSession(const QString& cloudRecordID, Date finishedAt);
    void addSession(Date finishedAt, int tasksCount, const QString& cloudRecordID);
    void addGoal(int tasksCount);
    void addGoal(double dated, int tasksInRow);
    std::optional<Goal> goalForDate(Date date);
    std::optional<QList<Goal>> goals(Date since, Date to);
    void updateGoal(const QString& cloudRecordID, Date achievedAt);
    void addGoal(Date achieveAt, int tasksCount, const QString& cloudRecordID);

    // Task catalogue
    bool existsTaskInfo(const QString& named);
    std::optional<TaskInfo> fetchTaskInfo(const QString& named);
    std::optional<TaskInfo> fetchTaskInfoWithID(const QString& withID);
    std::optional<QStringList> taskNames();
    std::optional<QStringList> taskNames(const QString& filteredBy);
    QString color(const QString& ofTaskNamed);
    void addTaskInfo(const TaskInfoParameter& parameter);
    void updateTaskInfo(const QString& named, const QString& with);
    void updateTaskInfo(const QString& named, const TaskInfoParameter& withParameter);
    void deleteTaskInfo(const QString& named);
    void updateTaskInfoCloudRecordID(const QString& named, const QString& cloudRecordID);
    void addTaskInfo(const TaskInfoParameter& parameter, const QString& withRecordID);
    void updateTaskInfo(const TaskInfoParameter& withParameter, const QString& cloudRecordID);
    void deleteTaskInfoCloudRecordID(const QString& cloudRecordID);
    void migrateToTaskInfo();

    // CSV export and the Today summary
    bool exportToCSV(const QString& toCSV, Date activitiyOfDay);
    // The text that exportToCSV writes; absent when the day query fails.
    std::optional<QString> csvText(Date activitiyOfDay);
    std::optional<QVariantMap> extensionData();
    void shareExtensionData();

    // Thief catalogue. loadThieves() answers whether the preloaded list was imported.
    bool loadThieves();
    bool loadThieves(const QString& fromList);
    void addThieve(const QVariantMap& from, const std::optional<QByteArray>& withImage);
    void addThieve(const QVariantMap& from, const std::optional<QByteArray>& withImage,
                   const QString& cloudRecordID);
    std::optional<Thief> thief(const QString& identified);
    void activateThief(const QString& identifier);
    void deactivateThief(const QString& identifier);
    void truncateThieves();
    void updateThief(const QString& identified, const QString& cloudRecordID);
    std::optional<QList<Thief>> thieves();
    std::optional<QList<Thief>> activeThieves();
    std::optional<QList<Thief>> thievesPendingUpload();

    // Work-activity records
    void makeWorkActivity(const QString& named, Date since, Date to, const QString& identified,
                          const QString& kind, const std::optional<QByteArray>& image);
    void insertWorkActivity(const WorkActivity& fromCloud);
    void updateWorkActivity(Date dated, const QString& cloudRecordID);
    std::optional<QList<WorkActivity>> workActivities();
    std::optional<QList<WorkActivity>> workActivities(Date dated);
    std::optional<QList<WorkActivity>> workActivities(Date since, Date to);
    std::optional<QList<WorkActivity>> workActivities(const QString& withThief, Date since,
                                                      Date to);
    void deleteWorkActivitiy(const QString& identifier, Date dated);
    void deleteWorkActivitiy(const QString& cloudRecordID);
    void deletePrevoiusWeekWorkActivity();
    void truncateWorkActivities();
    std::optional<QList<WorkActivity>> workActivitiesPendingUpload();

private:
    const QString m_dataDirectory;
    std::unique_ptr<StoreContext> m_context;
    std::unique_ptr<CloudLink> m_cloud;
    std::unique_ptr<TaskCatalogue> m_catalogue;
    std::unique_ptr<PomodoroRecords> m_pomodoros;
    std::unique_ptr<SessionGoalRecords> m_sessionsAndGoals;
    std::unique_ptr<StoreMaintenance> m_maintenance;
    std::unique_ptr<CsvExporter> m_csv;
    std::unique_ptr<TodaySummary> m_today;
    std::unique_ptr<ThiefCatalogue> m_thieves;
    std::unique_ptr<WorkActivityRecords> m_activities;
};
