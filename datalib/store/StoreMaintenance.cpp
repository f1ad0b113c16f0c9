#include "store/StoreMaintenance.h"

#include "Console.h"
#include "store/SqlQuery.h"
#include "store/StoreContext.h"
#include "store/StoreLog.h"

StoreMaintenance::StoreMaintenance(StoreContext& context)
    : m_context(context)
{}

void StoreMaintenance::run(const char* sql)
{
    SqlQuery query(m_context, sql);
    if (!query.execWrite())
        StoreLog::error(query);
}

int StoreMaintenance::count(const char* sql)
{
    SqlQuery query(m_context, sql);
    if (!query.next()) {
        StoreLog::error(query);
        return 0;
    }
    return query.intAt(0);
}

void StoreMaintenance::truncateAll()
{
    auto guard = m_context.lock();
    for (const char* sql : {"DELETE FROM Goal", "DELETE FROM Session", "DELETE FROM Pomodoro"}) {
        m_context.beginWrite();
        run(sql);
        m_context.saveContext();
    }
}

StoreMaintenance::Counts StoreMaintenance::stats()
{
    auto guard = m_context.lock();
    Counts counts;
    counts.tasks = count("SELECT count(*) FROM Pomodoro");
    counts.sessions = count("SELECT count(*) FROM Session");
    counts.goals = count("SELECT count(*) FROM Goal");
    counts.thieves = count("SELECT count(*) FROM Thief");
    counts.activities = count("SELECT count(*) FROM WorkActivity");
    SqlQuery query(m_context, "SELECT cloudRecordID FROM WorkActivity ORDER BY id");
    while (query.next())
        Console::line(QStringLiteral("iCloud ID: ") +
                      query.textAt(0).value_or(QStringLiteral("nil")));
    return counts;
}

void StoreMaintenance::iCloudPreviousState()
{
    auto guard = m_context.lock();
    m_context.beginWrite();
    for (const char* sql :
         {"UPDATE TaskInfo SET cloudRecordID = NULL WHERE cloudRecordID IS NOT NULL",
          "UPDATE Pomodoro SET cloudRecordID = NULL WHERE cloudRecordID IS NOT NULL",
          "UPDATE Session SET cloudRecordID = NULL WHERE cloudRecordID IS NOT NULL",
          "UPDATE Goal SET cloudRecordID = NULL WHERE cloudRecordID IS NOT NULL",
          "UPDATE Thief SET cloudRecordID = NULL WHERE cloudRecordID IS NOT NULL",
          "UPDATE WorkActivity SET cloudRecordID = NULL "
          "WHERE cloudRecordID IS NOT NULL"})
        run(sql);
    m_context.saveContext();
}
