#include "store/DataController.h"

#include <QStandardPaths>

#include "cloud/CloudSync.h"
#include "store/CloudLink.h"
#include "store/CsvExporter.h"
#include "store/PomodoroRecords.h"
#include "store/SessionGoalRecords.h"
#include "store/StoreContext.h"
#include "store/StoreMaintenance.h"
#include "store/TaskCatalogue.h"
#include "store/TodaySummary.h"
#include "thieves/PreloadedThieves.h"
#include "thieves/ThiefCatalogue.h"
#include "thieves/WorkActivityRecords.h"

namespace {

// The folder of the data location that the Today summary is shared through.
constexpr const char* kAppGroupIdentifier = "group";

} // namespace

DataController& DataController::sharedInstance()
{
    // A function-local static is created once, even when threads race for it.
    static DataController instance(defaultDataDirectory());
    return instance;
}

QString DataController::defaultDataDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Zestra");
}

DataController::DataController(QString dataDirectory, std::shared_ptr<CloudSync> cloud)
    : m_dataDirectory(std::move(dataDirectory))
    , m_context(std::make_unique<StoreContext>(m_dataDirectory + QLatin1Char('/') +
                                               QLatin1String(modelName)))
    , m_cloud(std::make_unique<CloudLink>(std::move(cloud)))
    , m_catalogue(std::make_unique<TaskCatalogue>(*m_context, *m_cloud))
    , m_pomodoros(std::make_unique<PomodoroRecords>(*m_context, *m_cloud, *m_catalogue))
    , m_sessionsAndGoals(std::make_unique<SessionGoalRecords>(*m_context, *m_cloud))
    , m_maintenance(std::make_unique<StoreMaintenance>(*m_context))
    , m_csv(std::make_unique<CsvExporter>(*m_pomodoros))
    , m_today(std::make_unique<TodaySummary>(m_dataDirectory + QLatin1Char('/') +
                                                 QLatin1String(kAppGroupIdentifier),
                                             *m_pomodoros, *m_sessionsAndGoals))
    , m_thieves(std::make_unique<ThiefCatalogue>(*m_context, *m_cloud))
    , m_activities(std::make_unique<WorkActivityRecords>(*m_context, *m_cloud))
{
    m_context->setSavedHandler([this] { m_today->shareExtensionData(); });
}

DataController::~DataController() = default;

QString DataController::applicationDocumentsDirectory() const
{
    return m_dataDirectory;
}

QString DataController::storeFilePath() const
{
    return m_context->path();
}

void DataController::setCloudSync(std::shared_ptr<CloudSync> cloud)
{
    m_cloud->setCloud(std::move(cloud));
}

bool DataController::open(OpenMode mode)
{
    return m_context->open(mode == OpenMode::ReadWrite
                               ? StoreContext::Access::ReadWrite
                               : StoreContext::Access::ReadOnlyWhenUnwritable);
}

bool DataController::isReadOnly()
{
    return m_context->isReadOnly();
}

std::optional<QString> DataController::lastError()
{
    return m_context->lastError();
}

bool DataController::saveContext()
{
    auto guard = m_context->lock();
    m_context->saveContext();
    return !m_context->hasChanges();
}

void DataController::resetContext()
{
    auto guard = m_context->lock();
    m_context->resetContext();
}

bool DataController::hasChanges()
{
    auto guard = m_context->lock();
    return m_context->hasChanges();
}

void DataController::truncateAll()
{
    m_maintenance->truncateAll();
}

DataController::Stats DataController::stats()
{
    const StoreMaintenance::Counts c = m_maintenance->stats();
    return Stats{c.tasks, c.sessions, c.goals, c.thieves, c.activities};
}

void DataController::iCloudPreviousState()
{
    m_maintenance->iCloudPreviousState();
}

std::optional<QList<Pomodoro>> DataController::unsyncedPomodoros()
{
    return m_pomodoros->unsyncedPomodoros();
}

std::optional<QList<TaskInfo>> DataController::unsyncedTaskInfos()
{
    return m_catalogue->unsyncedTaskInfos();
}

std::optional<QList<Session>> DataController::unsyncedSessions()
{
    return m_sessionsAndGoals->unsyncedSessions();
}

std::optional<QList<Goal>> DataController::unsyncedGoals()
{
    return m_sessionsAndGoals->unsyncedGoals();
}

void DataController::addTask(const TaskParameter& parameter)
{
    m_pomodoros->addTask(parameter);
}

std::optional<QList<Pomodoro>> DataController::pomodorosForDate(Date date)
{
    return m_pomodoros->pomodoros(date, date);
}

std::optional<QList<Pomodoro>> DataController::pomodoros(Date since, Date to)
{
    return m_pomodoros->pomodoros(since, to);
}

std::optional<QList<Pomodoro>> DataController::pomodoros(const QString& named)
{
    return m_pomodoros->pomodoros(named);
}

std::optional<QList<Date>> DataController::dates()
{
    return m_pomodoros->dates();
}

int DataController::tasksFinished(Date onDate)
{
    return m_pomodoros->tasksFinished(onDate);
}

int DataController::executions(const QString& ofTaskNamed)
{
    return m_pomodoros->executions(ofTaskNamed);
}

int DataController::executions(const QString& ofTaskNamed, Date onDate)
{
    return m_pomodoros->executions(ofTaskNamed, onDate);
}

QList<int> DataController::tasksFinishedPerDay(const QList<Date>& onDates)
{
    return m_pomodoros->tasksFinishedPerDay(onDates);
}

QList<int> DataController::executionsPerDay(const QString& ofRecordNamed,
                                            const QList<Date>& onDates)
{
    return m_pomodoros->executionsPerDay(ofRecordNamed, onDates);
}

int DataController::timeDedicated(const QString& to)
{
    return m_pomodoros->timeDedicated(to);
}

void DataController::updatePomodoroName(const QString& name, Date startedAt)
{
    m_pomodoros->updatePomodoroName(name, startedAt);
}

void DataController::deletePomodoro(Date startedAt)
{
    m_pomodoros->deletePomodoro(startedAt);
}

void DataController::saveOnce(const std::function<void()>& writes)
{
    m_context->saveOnce(writes);
}

void DataController::updatePomodoro(const QString& cloudRecordID, Date startedAt)
{
    m_pomodoros->updatePomodoro(cloudRecordID, startedAt);
}

void DataController::addTask(const TaskParameter& parameter, const QString& withRecordID,
                             const std::optional<QString>& taskInfoID)
{
    m_pomodoros->addTask(parameter, withRecordID, taskInfoID);
}

void DataController::updateTask(const QString& taskInfoID, const QString& withRecordID)
{
    m_pomodoros->updateTask(taskInfoID, withRecordID);
}

void DataController::deletePomodoro(const QString& cloudRecordID)
{
    m_pomodoros->deletePomodoro(cloudRecordID);
}

void DataController::addSession(int tasksCount)
{
    m_sessionsAndGoals->addSession(Date::now().timeIntervalSinceReferenceDate(), tasksCount);
}

void DataController::addSession(double dated, int tasksCount)
{
    m_sessionsAndGoals->addSession(dated, tasksCount);
}

std::optional<QList<Session>> DataController::sessionsForDate(Date date)
{
    return m_sessionsAndGoals->sessions(date, date);
}

std::optional<QList<Session>> DataController::sessions(Date since, Date to)
{
    return m_sessionsAndGoals->sessions(since, to);
}

int DataController::sessionsFinished(Date onDate)
{
    return m_sessionsAndGoals->sessionsFinished(onDate);
}

void DataController::updateSession(const QString& cloudRecordID, Date finishedAt)
{
    m_sessionsAndGoals->updateSession(cloudRecordID, finishedAt);
}

void DataController::addSession(Date finishedAt, int tasksCount, const QString& cloudRecordID)
{
    m_sessionsAndGoals->addSession(finishedAt, tasksCount, cloudRecordID);
}

void DataController::addGoal(int tasksCount)
{
    m_sessionsAndGoals->addGoal(Date::now().timeIntervalSinceReferenceDate(), tasksCount);
}

void DataController::addGoal(double dated, int tasksInRow)
{
    m_sessionsAndGoals->addGoal(dated, tasksInRow);
}

std::optional<Goal> DataController::goalForDate(Date date)
{
    const auto goals = m_sessionsAndGoals->goals(date, date);
    if (!goals || goals->isEmpty())
        return std::nullopt;
    return goals->first();
}

std::optional<QList<Goal>> DataController::goals(Date since, Date to)
{
    return m_sessionsAndGoals->goals(since, to);
}

void DataController::updateGoal(const QString& cloudRecordID, Date achievedAt)
{
    m_sessionsAndGoals->updateGoal(cloudRecordID, achievedAt);
}

void DataController::addGoal(Date achieveAt, int tasksCount, const QString& cloudRecordID)
{
    m_sessionsAndGoals->addGoal(achieveAt, tasksCount, cloudRecordID);
}

bool DataController::existsTaskInfo(const QString& named)
{
    return m_catalogue->existsTaskInfo(named);
}

std::optional<TaskInfo> DataController::fetchTaskInfo(const QString& named)
{
    return m_catalogue->fetchTaskInfo(named);
}

std::optional<TaskInfo> DataController::fetchTaskInfoWithID(const QString& withID)
{
    return m_catalogue->fetchTaskInfoWithID(withID);
}

std::optional<QStringList> DataController::taskNames()
{
    return m_catalogue->taskNames();
}

std::optional<QStringList> DataController::taskNames(const QString& filteredBy)
{
    return m_catalogue->taskNames(filteredBy);
}

QString DataController::color(const QString& ofTaskNamed)
{
    return m_catalogue->color(ofTaskNamed);
}

void DataController::addTaskInfo(const TaskInfoParameter& parameter)
{
    m_catalogue->addTaskInfo(parameter);
}

void DataController::updateTaskInfo(const QString& named, const QString& with)
{
    m_catalogue->updateTaskInfo(named, with);
}

void DataController::updateTaskInfo(const QString& named, const TaskInfoParameter& withParameter)
{
    m_catalogue->updateTaskInfo(named, withParameter);
}

void DataController::deleteTaskInfo(const QString& named)
{
    m_catalogue->deleteTaskInfo(named);
}

void DataController::updateTaskInfoCloudRecordID(const QString& named, const QString& cloudRecordID)
{
    m_catalogue->updateTaskInfoCloudRecordID(named, cloudRecordID);
}

void DataController::addTaskInfo(const TaskInfoParameter& parameter, const QString& withRecordID)
{
    m_catalogue->addTaskInfo(parameter, withRecordID);
}

void DataController::updateTaskInfo(const TaskInfoParameter& withParameter,
                                    const QString& cloudRecordID)
{
    m_catalogue->updateTaskInfo(withParameter, cloudRecordID);
}

void DataController::deleteTaskInfoCloudRecordID(const QString& cloudRecordID)
{
    m_catalogue->deleteTaskInfoCloudRecordID(cloudRecordID);
}

void DataController::migrateToTaskInfo()
{
    m_catalogue->migrateToTaskInfo();
}

bool DataController::exportToCSV(const QString& toCSV, Date activitiyOfDay)
{
    return m_csv->exportToCSV(toCSV, activitiyOfDay);
}

std::optional<QString> DataController::csvText(Date activitiyOfDay)
{
    return m_csv->text(activitiyOfDay);
}

std::optional<QVariantMap> DataController::extensionData()
{
    return m_today->extensionData();
}

void DataController::shareExtensionData()
{
    auto guard = m_context->lock();
    m_today->shareExtensionData();
}

bool DataController::loadThieves()
{
    return m_thieves->loadThieves(PreloadedThieves::resourcePath());
}

bool DataController::loadThieves(const QString& fromList)
{
    return m_thieves->loadThieves(fromList);
}

void DataController::addThieve(const QVariantMap& from, const std::optional<QByteArray>& withImage)
{
    m_thieves->addThieve(from, withImage);
}

void DataController::addThieve(const QVariantMap& from, const std::optional<QByteArray>& withImage,
                               const QString& cloudRecordID)
{
    m_thieves->addThieve(from, withImage, cloudRecordID);
}

std::optional<Thief> DataController::thief(const QString& identified)
{
    return m_thieves->thief(identified);
}

void DataController::activateThief(const QString& identifier)
{
    m_thieves->activateThief(identifier);
}

void DataController::deactivateThief(const QString& identifier)
{
    m_thieves->deactivateThief(identifier);
}

void DataController::truncateThieves()
{
    m_thieves->truncateThieves();
}

void DataController::updateThief(const QString& identified, const QString& cloudRecordID)
{
    m_thieves->updateThief(identified, cloudRecordID);
}

std::optional<QList<Thief>> DataController::thieves()
{
    return m_thieves->thieves();
}

std::optional<QList<Thief>> DataController::activeThieves()
{
    return m_thieves->activeThieves();
}

std::optional<QList<Thief>> DataController::thievesPendingUpload()
{
    return m_thieves->thievesPendingUpload();
}

void DataController::makeWorkActivity(const QString& named, Date since, Date to,
                                      const QString& identified, const QString& kind,
                                      const std::optional<QByteArray>& image)
{
    m_activities->makeWorkActivity(named, since, to, identified, kind, image);
}

void DataController::insertWorkActivity(const WorkActivity& fromCloud)
{
    m_activities->insertWorkActivity(fromCloud);
}

void DataController::updateWorkActivity(Date dated, const QString& cloudRecordID)
{
    m_activities->updateWorkActivity(dated, cloudRecordID);
}

std::optional<QList<WorkActivity>> DataController::workActivities()
{
    return m_activities->workActivities();
}

std::optional<QList<WorkActivity>> DataController::workActivities(Date dated)
{
    return m_activities->workActivities(dated);
}

std::optional<QList<WorkActivity>> DataController::workActivities(Date since, Date to)
{
    return m_activities->workActivities(since, to);
}

std::optional<QList<WorkActivity>> DataController::workActivities(const QString& withThief,
                                                                  Date since, Date to)
{
    return m_activities->workActivities(withThief, since, to);
}

void DataController::deleteWorkActivitiy(const QString& identifier, Date dated)
{
    m_activities->deleteWorkActivitiy(identifier, dated);
}

void DataController::deleteWorkActivitiy(const QString& cloudRecordID)
{
    m_activities->deleteWorkActivitiy(cloudRecordID);
}

void DataController::deletePrevoiusWeekWorkActivity()
{
    m_activities->deletePrevoiusWeekWorkActivity();
}

void DataController::truncateWorkActivities()
{
    m_activities->truncateWorkActivities();
}

std::optional<QList<WorkActivity>> DataController::workActivitiesPendingUpload()
{
    return m_activities->workActivitiesPendingUpload();
}
