#include "ui/ActivityCellAdapter.h"

#include <cmath>

QString ActivityCellAdapter::name() const
{
    if (thief && thief->name && !thief->name->isEmpty())
        return *thief->name;
    for (const WorkActivity& activity : activities) {
        if (activity.name && !activity.name->isEmpty())
            return *activity.name;
    }
    return key;
}

QString ActivityCellAdapter::identifier() const
{
    if (thief && thief->identifier)
        return *thief->identifier;
    if (!activities.isEmpty() && activities.first().identifier)
        return *activities.first().identifier;
    return QString();
}

std::optional<QByteArray> ActivityCellAdapter::image() const
{
    if (thief && thief->image && !thief->image->isEmpty())
        return thief->image;
    for (const WorkActivity& activity : activities) {
        if (activity.image && !activity.image->isEmpty())
            return activity.image;
    }
    return std::nullopt;
}

double ActivityCellAdapter::totalSeconds() const
{
    double total = 0;
    for (const WorkActivity& activity : activities)
        total += activity.endTime - activity.startTime;
    return total;
}

QString ActivityCellAdapter::totalText(double seconds)
{
    if (seconds >= 36)
        return QString::number(std::lround(seconds / 60.0)) + QStringLiteral(" min");
    return QString::number(std::lround(std::fmod(seconds, 60.0))) + QStringLiteral(" sec");
}
