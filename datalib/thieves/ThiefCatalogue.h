#pragma once

#include <optional>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariantMap>

#include "store/Thief.h"

class CloudLink;
class SqlQuery;
class StoreContext;

// The applications, websites and interruptions the user counts as time thieves: the
// preloaded list and the user's own.
class ThiefCatalogue {
public:
    ThiefCatalogue(StoreContext& context, CloudLink& cloud);

    // Replaces the preloaded thieves with those of the list at `path`, in one save. A list
    // that cannot be read or checked changes nothing; false then, and when the save failed.
    bool loadThieves(const QString& path);

    void addThieve(const QVariantMap& from, const std::optional<QByteArray>& withImage);
    // A thief record that came from the cloud: the local thief of that identifier takes the
    // record's name and active state.
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

private:
    struct Row {
        long long id = 0;
        Thief thief;
    };

    static Row rowFrom(const SqlQuery& query);
    std::optional<QList<Thief>> fetch(const char* sql);
    std::optional<Row> rowIdentified(const QString& identifier, const char* operation);
    bool insert(const Thief& thief);
    // Inside a write transaction: the existing thief of that identifier becomes active;
    // answers its record name to switch in the cloud. Absent when there is no such thief.
    std::optional<Row> reactivate(const QString& identifier);
    bool setActive(long long id, bool active);
    void upload(const Thief& thief);
    void setActive(const QString& identifier, bool active);

    StoreContext& m_context;
    CloudLink& m_cloud;
};
