#pragma once

#include <optional>

#include <QJsonObject>
#include <QString>
#include <QVariantMap>

class PomodoroRecords;
class SessionGoalRecords;

// The small summary of today's work that a desktop widget or a status bar reads, rewritten
// after every successful save.
class TodaySummary {
public:
    static constexpr const char* fileName = "pomodoro_extension.data";

    TodaySummary(QString groupDirectory, PomodoroRecords& pomodoros, SessionGoalRecords& sessions);

    QString filePath() const;
    void shareExtensionData();
    std::optional<QVariantMap> extensionData() const;

private:
    static bool writeAtomically(const QString& path, const QJsonObject& summary);

    const QString m_groupDirectory;
    PomodoroRecords& m_pomodoros;
    SessionGoalRecords& m_sessions;
};
