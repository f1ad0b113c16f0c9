#pragma once

#include <optional>

#include <QByteArray>
#include <QList>
#include <QString>

#include "store/Thief.h"
#include "store/WorkActivity.h"

// One row of the thief window: a thief with its stretches of the day, an identifier recorded
// on the day (thief or not), or the row that says there is nothing to show.
struct ActivityCellAdapter {
    enum class Kind { thief, activity, empty };

    Kind kind = Kind::empty;
    // What groups the row's activities: their identifier, or the name of an application that
    // has none.
    QString key;
    // A thief row's thief; in the full listing, the active thief of the row's identifier.
    std::optional<Thief> thief;
    QList<WorkActivity> activities;
    // The empty row's words.
    QString title;
    QString tagline;

    // The thief's name, else the first activity's, else the key.
    QString name() const;
    // The identifier a thief can be made of; empty for an application without one.
    QString identifier() const;
    std::optional<QByteArray> image() const;
    double totalSeconds() const;
    // The total as the row shows it: whole minutes from 36 seconds on, seconds below.
    static QString totalText(double seconds);
};
