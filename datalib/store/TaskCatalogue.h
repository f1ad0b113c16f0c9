#pragma once

#include <optional>

#include <QList>
#include <QStringList>

#include "store/TaskInfo.h"
#include "store/TaskInfoParameter.h"

class CloudLink;
class SqlQuery;
class StoreContext;

// The named, coloured tasks the user works on.
class TaskCatalogue {
public:
    struct Row {
        long long id = 0;
        TaskInfo info;
    };

    TaskCatalogue(StoreContext& context, CloudLink& cloud);

    bool existsTaskInfo(const QString& named);
    std::optional<TaskInfo> fetchTaskInfo(const QString& named);
    std::optional<TaskInfo> fetchTaskInfoWithID(const QString& withID);
    // The first task of that name with its row, for linking pomodoros to it.
    std::optional<Row> rowNamed(const QString& name, const char* operation);
    std::optional<Row> rowWithID(const QString& cloudRecordID, const char* operation);
    std::optional<QStringList> taskNames();
    std::optional<QStringList> taskNames(const QString& filteredBy);
    QString color(const QString& ofTaskNamed);
    std::optional<QList<TaskInfo>> unsyncedTaskInfos();

    void addTaskInfo(const TaskInfoParameter& parameter);
    void updateTaskInfo(const QString& named, const QString& with);
    void updateTaskInfo(const QString& named, const TaskInfoParameter& withParameter);
    void deleteTaskInfo(const QString& named);
    void updateTaskInfoCloudRecordID(const QString& named, const QString& cloudRecordID);

    void addTaskInfo(const TaskInfoParameter& parameter, const QString& withRecordID);
    void updateTaskInfo(const TaskInfoParameter& withParameter, const QString& cloudRecordID);
    void deleteTaskInfoCloudRecordID(const QString& cloudRecordID);

    void migrateToTaskInfo();

private:
    static Row rowFrom(const SqlQuery& query);
    // All tasks of that name, in creation order; absent when the fetch failed.
    std::optional<QList<Row>> rowsNamed(const QString& name, QString* error);
    bool insert(const TaskInfoParameter& parameter, const std::optional<QString>& cloudRecordID);
    bool setFields(long long id, const TaskInfoParameter& parameter);
    void saveToCloud(const TaskInfoParameter& parameter);
    void detachPomodoros(const char* taskCondition, const QString& value);

    StoreContext& m_context;
    CloudLink& m_cloud;
};
