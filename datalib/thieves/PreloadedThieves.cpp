#include "thieves/PreloadedThieves.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include "thieves/ThiefDictionary.h"

QString PreloadedThieves::resourcePath()
{
    return QStringLiteral(":/tallycore/thieves/thieves.json");
}

PreloadedThieves::List PreloadedThieves::read(const QString& path)
{
    List list;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        list.error = file.errorString();
        return list;
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        list.error = file.errorString();
        return list;
    }

    list.status = Status::invalid;
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(data, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        list.error =
            QStringLiteral("%1 at offset %2").arg(parseError.errorString()).arg(parseError.offset);
        return list;
    }
    if (!document.isArray()) {
        list.error = QStringLiteral("the list is not an array");
        return list;
    }
    const QJsonArray elements = document.array();
    for (qsizetype i = 0; i < elements.size(); ++i) {
        if (!elements.at(i).isObject()) {
            list.error = QStringLiteral("element %1 is not an object").arg(i);
            return list;
        }
        const QVariantMap entry = elements.at(i).toObject().toVariantMap();
        if (ThiefDictionary::thief(entry))
            list.entries.append(entry);
        else
            ++list.skipped;
    }
    // A list with nothing to import would only take away the thieves imported before.
    if (list.entries.isEmpty()) {
        list.error = QStringLiteral("no element makes a thief");
        list.entries.clear();
        return list;
    }
    list.status = Status::ok;
    return list;
}
