#pragma once

#include <optional>

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QVariantMap>

#include "store/DataController.h"

// The JSON shape of the store's records. Moments are seconds since 2001-01-01T00:00:00Z,
// as the store keeps them; an absent value is null, never left out.
class RecordJson {
public:
    static QJsonObject pomodoro(const Pomodoro& pomodoro);
    static QJsonObject session(const Session& session);
    static QJsonObject goal(const Goal& goal);
    // {"pomodoros": [...], "sessions": [...], "goal": {...} or null}, lists in chronological
    // order (the store answers them unsorted).
    static QJsonObject day(QList<Pomodoro> pomodoros, QList<Session> sessions,
                           const std::optional<Goal>& goal);
    static QJsonObject task(const QString& name, const QString& color,
                            const std::optional<TaskInfo>& info, int executions, int timeDedicated);
    static QJsonObject stats(const DataController::Stats& stats);
    static QJsonObject extensionData(const QVariantMap& data);
};
