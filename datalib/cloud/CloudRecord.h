#pragma once

#include <cstdint>
#include <optional>

#include <QByteArray>
#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QStringList>

#include "cloud/CloudField.h"
#include "tallycore_export.h"

// One record of the cloud database: its type and zone, the name and change tag the server
// gave it (both empty until it is first saved), and its typed fields.
class TALLYCORE_EXPORT CloudRecord {
public:
    CloudRecord() = default;
    CloudRecord(QString recordType, QString zoneName);

    const QString& recordType() const { return m_recordType; }
    const QString& zoneName() const { return m_zoneName; }
    const QString& recordName() const { return m_recordName; }
    const QString& changeTag() const { return m_changeTag; }
    void setRecordName(const QString& name) { m_recordName = name; }
    // An empty tag saves over whatever the server holds; a tag saves only if it is current.
    void setChangeTag(const QString& tag) { m_changeTag = tag; }

    const QMap<QString, CloudField>& fields() const { return m_fields; }
    void set(const QString& key, const CloudField& value);
    // Removed on the server too when the record is saved.
    void remove(const QString& key);
    const QStringList& removedKeys() const { return m_removedKeys; }

    // A value of the named key, absent when the key is missing or of another type.
    std::optional<QString> string(const QString& key) const;
    std::optional<std::int64_t> int64(const QString& key) const;
    std::optional<double> date(const QString& key) const;
    std::optional<double> real(const QString& key) const;
    std::optional<QString> reference(const QString& key) const;
    std::optional<QByteArray> asset(const QString& key) const;

    // The fields as the server stores them, assets as bare markers.
    QJsonObject fieldsObject() const;
    QByteArray fieldsJson() const;
    // Absent when `json` is not an object of typed fields.
    static std::optional<CloudRecord> fromStored(const QString& recordType, const QString& zoneName,
                                                 const QString& recordName,
                                                 const QString& changeTag, const QByteArray& json,
                                                 const QMap<QString, QByteArray>& assets);

private:
    const CloudField* find(const QString& key, CloudField::Type type) const;

    QString m_recordType;
    QString m_zoneName;
    QString m_recordName;
    QString m_changeTag;
    QMap<QString, CloudField> m_fields;
    QStringList m_removedKeys;
};
