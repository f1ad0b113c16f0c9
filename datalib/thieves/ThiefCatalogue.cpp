#include "thieves/ThiefCatalogue.h"

#include "Console.h"
#include "store/CloudLink.h"
#include "store/SqlQuery.h"
#include "store/StoreContext.h"
#include "store/StoreLog.h"
#include "thieves/PreloadedThieves.h"
#include "thieves/ThiefDictionary.h"
#include "thieves/ThiefImages.h"

#define THIEF_COLUMNS "id, name, identifier, kind, about, image, isActive, preloaded, cloudRecordID"

ThiefCatalogue::ThiefCatalogue(StoreContext& context, CloudLink& cloud)
    : m_context(context)
    , m_cloud(cloud)
{}

ThiefCatalogue::Row ThiefCatalogue::rowFrom(const SqlQuery& query)
{
    Row row;
    row.id = query.int64At(0);
    row.thief.name = query.textAt(1);
    row.thief.identifier = query.textAt(2);
    row.thief.kind = query.textAt(3);
    row.thief.about = query.textAt(4);
    row.thief.image = query.blobAt(5);
    row.thief.isActive = query.intAt(6) != 0;
    row.thief.preloaded = query.intAt(7) != 0;
    row.thief.cloudRecordID = query.textAt(8);
    return row;
}

std::optional<QList<Thief>> ThiefCatalogue::fetch(const char* sql)
{
    auto guard = m_context.lock();
    SqlQuery query(m_context, sql);
    QList<Thief> thieves;
    while (query.next())
        thieves.append(rowFrom(query).thief);
    if (!query.ok()) {
        StoreLog::error(query);
        return std::nullopt;
    }
    return thieves;
}

std::optional<QList<Thief>> ThiefCatalogue::thieves()
{
    return fetch("SELECT " THIEF_COLUMNS " FROM Thief ORDER BY id");
}

std::optional<QList<Thief>> ThiefCatalogue::activeThieves()
{
    return fetch("SELECT " THIEF_COLUMNS " FROM Thief WHERE isActive = 1 ORDER BY id");
}

std::optional<QList<Thief>> ThiefCatalogue::thievesPendingUpload()
{
    return fetch("SELECT " THIEF_COLUMNS
                 " FROM Thief WHERE preloaded = 0 AND cloudRecordID IS NULL ORDER BY id");
}

std::optional<ThiefCatalogue::Row> ThiefCatalogue::rowIdentified(const QString& identifier,
                                                                 const char* operation)
{
    auto guard = m_context.lock();
    SqlQuery query(m_context,
                   "SELECT " THIEF_COLUMNS " FROM Thief WHERE identifier = ? ORDER BY id LIMIT 1");
    query.bind(1, identifier);
    if (query.next())
        return rowFrom(query);
    if (!query.ok())
        Console::line(QStringLiteral("Error @ ") + QLatin1String(operation) + QStringLiteral(": ") +
                      query.debugDescription());
    return std::nullopt;
}

std::optional<Thief> ThiefCatalogue::thief(const QString& identified)
{
    if (auto row = rowIdentified(identified, "thief(identified:)"))
        return row->thief;
    return std::nullopt;
}

bool ThiefCatalogue::insert(const Thief& thief)
{
    SqlQuery query(m_context,
                   "INSERT INTO Thief (name, identifier, kind, about, image, "
                   "isActive, preloaded, cloudRecordID) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
    query.bind(1, thief.name)
        .bind(2, thief.identifier)
        .bind(3, thief.kind)
        .bind(4, thief.about)
        .bind(5, thief.image)
        .bind(6, thief.isActive ? 1 : 0)
        .bind(7, thief.preloaded ? 1 : 0)
        .bind(8, thief.cloudRecordID);
    if (!query.execWrite()) {
        StoreLog::error(query);
        return false;
    }
    return true;
}

bool ThiefCatalogue::setActive(long long id, bool active)
{
    SqlQuery query(m_context, "UPDATE Thief SET isActive = ? WHERE id = ?");
    query.bind(1, active ? 1 : 0).bindRow(2, id, "Thief");
    if (!query.execWrite()) {
        StoreLog::error(query);
        return false;
    }
    return true;
}

std::optional<ThiefCatalogue::Row> ThiefCatalogue::reactivate(const QString& identifier)
{
    auto row = rowIdentified(identifier, "addThieve(from:withImage:)");
    if (!row)
        return std::nullopt;
    if (!row->thief.isActive && !setActive(row->id, true))
        return std::nullopt;
    row->thief.isActive = true;
    return row;
}

void ThiefCatalogue::upload(const Thief& thief)
{
    // Preloaded thieves come with every installation; only the user's own go to the cloud.
    if (thief.cloudRecordID || thief.preloaded || !thief.identifier)
        return;
    const QString identifier = *thief.identifier;
    m_cloud.cloud()->saveThief(
        thief, m_cloud.assignOnMainQueue([this, identifier](const QString& recordID) {
            updateThief(identifier, recordID);
        }));
}

void ThiefCatalogue::addThieve(const QVariantMap& from, const std::optional<QByteArray>& withImage)
{
    const std::optional<QString> identifier = ThiefDictionary::identifier(from);
    if (!identifier)
        return;
    std::optional<Thief> inserted;
    std::optional<QString> switchedRecord;
    {
        auto guard = m_context.lock();
        m_context.beginWrite();
        if (auto existing = reactivate(*identifier)) {
            m_context.saveContext();
            switchedRecord = existing->thief.cloudRecordID;
        } else {
            QVariantMap dictionary = from;
            if (withImage && !withImage->isEmpty())
                dictionary.insert(QStringLiteral("image"), *withImage);
            else
                dictionary.remove(QStringLiteral("image"));
            inserted = ThiefDictionary::thief(dictionary);
            if (!inserted || !insert(*inserted))
                return;
            m_context.saveContext();
        }
    }
    if (switchedRecord)
        m_cloud.cloud()->switchThief(*switchedRecord, true);
    if (inserted)
        upload(*inserted);
}

void ThiefCatalogue::addThieve(const QVariantMap& from, const std::optional<QByteArray>&,
                               const QString& cloudRecordID)
{
    const std::optional<QString> identifier = ThiefDictionary::identifier(from);
    if (!identifier)
        return;
    auto guard = m_context.lock();
    m_context.beginWrite();
    const auto row = rowIdentified(*identifier, "addThieve(from:withImage:cloudRecordID:)");
    if (!row)
        return;
    // The record says whether the thief is watched: one switched off elsewhere stays off.
    const QVariant active = from.value(QStringLiteral("isActive"));
    const bool isActive =
        active.typeId() == QMetaType::Bool ? active.toBool() : row->thief.isActive;
    SqlQuery query(m_context, "UPDATE Thief SET isActive = ?, cloudRecordID = ? WHERE id = ?");
    query.bind(1, isActive ? 1 : 0).bind(2, cloudRecordID).bindRow(3, row->id, "Thief");
    if (!query.execWrite()) {
        StoreLog::error(query);
        return;
    }
    m_context.saveContext();
}

void ThiefCatalogue::setActive(const QString& identifier, bool active)
{
    auto guard = m_context.lock();
    const auto row =
        rowIdentified(identifier, active ? "activateThief(_:)" : "deactivateThief(_:)");
    if (!row || row->thief.isActive == active)
        return;
    m_context.beginWrite();
    if (setActive(row->id, active))
        m_context.saveContext();
}

void ThiefCatalogue::activateThief(const QString& identifier)
{
    setActive(identifier, true);
}

void ThiefCatalogue::deactivateThief(const QString& identifier)
{
    setActive(identifier, false);
}

void ThiefCatalogue::truncateThieves()
{
    auto guard = m_context.lock();
    m_context.beginWrite();
    SqlQuery query(m_context, "DELETE FROM Thief WHERE isActive = 1");
    if (!query.execWrite()) {
        StoreLog::error(query);
        return;
    }
    m_context.saveContext();
}

void ThiefCatalogue::updateThief(const QString& identified, const QString& cloudRecordID)
{
    auto guard = m_context.lock();
    m_context.beginWrite();
    long long id = 0;
    {
        SqlQuery query(m_context, "SELECT id FROM Thief WHERE identifier = ? AND "
                                  "cloudRecordID IS NULL ORDER BY id LIMIT 1");
        query.bind(1, identified);
        if (!query.next()) {
            if (!query.ok())
                StoreLog::failure("updateThief(identified:cloudRecordID:)",
                                  query.errorDescription());
            return;
        }
        id = query.int64At(0);
    }
    SqlQuery update(m_context, "UPDATE Thief SET cloudRecordID = ? WHERE id = ?");
    update.bind(1, cloudRecordID).bindRow(2, id, "Thief");
    if (!update.execWrite()) {
        StoreLog::failure("updateThief(identified:cloudRecordID:)", update.errorDescription());
        return;
    }
    m_context.saveContext();
}

bool ThiefCatalogue::loadThieves(const QString& path)
{
    // Read and checked before anything is removed: a bad list must not cost the thieves
    // imported before, the browsers among them.
    const PreloadedThieves::List list = PreloadedThieves::read(path);
    if (list.status == PreloadedThieves::Status::missing) {
        Console::line(QStringLiteral("No se encuentra el archivo JSON."));
        return false;
    }
    if (list.status == PreloadedThieves::Status::invalid) {
        Console::line(QStringLiteral("The preloaded thief list is not valid (%1); no thief was "
                                     "changed.")
                          .arg(list.error));
        return false;
    }

    QStringList switchedRecords;
    bool saved = false;
    {
        auto guard = m_context.lock();
        if (!m_context.beginWrite())
            return false;
        // A write the store cannot take now waits with the others for the next save, so the
        // removal and the new list still go out together.
        SqlQuery remove(m_context, "DELETE FROM Thief WHERE preloaded = 1");
        if (!remove.execWrite())
            StoreLog::error(remove);
        for (const QVariantMap& entry : list.entries) {
            const QString identifier = *ThiefDictionary::identifier(entry);
            const std::optional<QByteArray> picture = ThiefImages::named(identifier);
            if (picture) {
                if (auto existing = reactivate(identifier)) {
                    if (existing->thief.cloudRecordID)
                        switchedRecords.append(*existing->thief.cloudRecordID);
                    continue;
                }
            }
            std::optional<Thief> thief = ThiefDictionary::thief(entry);
            if (picture)
                thief->image = picture;
            insert(*thief);
        }
        saved = m_context.saveContext();
    }
    for (const QString& record : switchedRecords)
        m_cloud.cloud()->switchThief(record, true);
    return saved;
}
