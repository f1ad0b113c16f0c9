#pragma once

#include <optional>

#include <QString>
#include <QVariantMap>

#include "cloud/CloudFailure.h"
#include "tallycore_export.h"

class CloudDatabase;

// The running countdown of each of the user's computers, kept in the cloud so that another one
// can continue it: one record per computer, replaced at every publish.
class TALLYCORE_EXPORT CloudHandoff {
public:
    static constexpr const char* zoneName = "HandoffZone";
    static constexpr const char* recordType = "Handoff";

    struct Offer {
        QString device;
        QString deviceName;
        // The hand-off record, its elapsed time brought up to now when the countdown runs.
        QVariantMap userInfo;
        double publishedAt = 0;
        qint64 remaining = 0;
    };

    // This computer: its machine id (or, without one, its host name), and the name shown.
    static QString thisDevice();
    static QString thisDeviceName();

    explicit CloudHandoff(CloudDatabase& database, QString device = thisDevice(),
                          QString deviceName = thisDeviceName());

    // Replaces this computer's record with the countdown as it stands at `now` (seconds since
    // 2001-01-01 UTC), with `remaining` seconds left.
    bool publish(const QVariantMap& userInfo, qint64 remaining, double now, CloudFailure& failure);
    // The newest countdown of another computer that has not run out by `now`: nothing is
    // offered when its record is older than the time it had left. Absent with an empty
    // failure message when there is none.
    std::optional<Offer> latestOffer(double now, CloudFailure& failure);

private:
    bool findOwnRecord(CloudFailure& failure);

    CloudDatabase& m_database;
    QString m_device;
    QString m_deviceName;
    QString m_recordName;
};
