#include "store/TodaySummary.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include "Console.h"
#include "store/PomodoroRecords.h"
#include "store/SessionGoalRecords.h"

TodaySummary::TodaySummary(QString groupDirectory, PomodoroRecords& pomodoros,
                           SessionGoalRecords& sessions)
    : m_groupDirectory(std::move(groupDirectory))
    , m_pomodoros(pomodoros)
    , m_sessions(sessions)
{}

QString TodaySummary::filePath() const
{
    return m_groupDirectory + QLatin1Char('/') + QLatin1String(fileName);
}

void TodaySummary::shareExtensionData()
{
    const Date now = Date::now();
    const auto rows = m_pomodoros.pomodoros(now, now);
    if (!rows || rows->isEmpty()) {
        QFile file(filePath());
        if (file.exists() && !file.remove())
            Console::line(file.errorString());
        return;
    }

    std::int64_t workTime = 0;
    std::int64_t freeTime = 0;
    for (const Pomodoro& p : *rows) {
        workTime += p.duration;
        freeTime += p.freeTimeDuration;
    }
    const Pomodoro& latest = *std::max_element(rows->begin(), rows->end());
    const auto goals = m_sessions.goals(now, now);
    QJsonObject summary{
        {QStringLiteral("ExtensionDate"), now.timeIntervalSinceReferenceDate()},
        {QStringLiteral("ExtensionStartTime"), latest.startTime},
        {QStringLiteral("ExtensionTaskCount"), static_cast<int>(rows->size())},
        {QStringLiteral("ExtensionSessionCount"), m_sessions.sessionsFinished(now)},
        {QStringLiteral("ExtensionGoalAchieve"), goals && !goals->isEmpty()},
        {QStringLiteral("ExtensionWorkTime"), static_cast<double>(workTime)},
        {QStringLiteral("ExtensionFreeTime"), static_cast<double>(freeTime)},
    };

    if (!QDir().mkpath(m_groupDirectory) || !writeAtomically(filePath(), summary))
        Console::line(QStringLiteral("error sharing data archievement"));
}

bool TodaySummary::writeAtomically(const QString& path, const QJsonObject& summary)
{
    // Each writer has a temporary file of its own (process and call), renamed over the old
    // summary: a reader never sees half of it, and writers saving at once never take each
    // other's file away. No sync to disk (QSaveFile and QTemporaryFile both sync): that would
    // cost every save milliseconds, and the summary is rebuilt after every save anyway.
    static std::atomic<unsigned> writes{0};
    const QString partial = QStringLiteral("%1.%2-%3.partial")
                                .arg(path)
                                .arg(QCoreApplication::applicationPid())
                                .arg(writes++);
    QFile file(partial);
    const QByteArray bytes = QJsonDocument(summary).toJson(QJsonDocument::Compact);
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                         file.write(bytes) == bytes.size() && file.flush();
    file.close();
    if (written && std::rename(QFile::encodeName(partial).constData(),
                               QFile::encodeName(path).constData()) == 0)
        return true;
    QFile::remove(partial);
    return false;
}

std::optional<QVariantMap> TodaySummary::extensionData() const
{
    QFile file(filePath());
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    if (!document.isObject())
        return std::nullopt;
    return document.object().toVariantMap();
}
