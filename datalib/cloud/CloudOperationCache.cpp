#include "cloud/CloudOperationCache.h"

#include <future>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "AtomicFile.h"
#include "Console.h"
#include "cloud/CloudOperationPerformer.h"
#include "store/DataController.h"

namespace {

const QString fileName = QStringLiteral("zestra-cloud-operations.cache");

std::optional<CloudOperation> decode(const QJsonValue& value)
{
    const QJsonObject object = value.toObject();
    const QJsonValue record = object.value(QStringLiteral("record"));
    const QJsonValue operation = object.value(QStringLiteral("operation"));
    const QJsonValue userInfo = object.value(QStringLiteral("userInfo"));
    if (!record.isDouble() || !operation.isDouble() || !userInfo.isObject())
        return std::nullopt;
    const auto recordType = CloudOperation::recordFromCode(record.toInt(-1));
    const auto kind = CloudOperation::operationFromCode(operation.toInt(-1));
    if (!recordType || !kind || record.toDouble() != record.toInt() ||
        operation.toDouble() != operation.toInt())
        return std::nullopt;
    CloudOperation decoded;
    decoded.recordType = *recordType;
    decoded.operation = *kind;
    decoded.userInfo = userInfo.toObject().toVariantMap();
    return decoded;
}

QJsonObject encode(const CloudOperation& operation)
{
    QJsonObject object;
    object.insert(QStringLiteral("operation"), int(operation.operation));
    object.insert(QStringLiteral("record"), int(operation.recordType));
    object.insert(QStringLiteral("userInfo"), QJsonObject::fromVariantMap(operation.userInfo));
    return object;
}

} // namespace

CloudOperationPerformer::~CloudOperationPerformer() = default;

CloudOperationCache& CloudOperationCache::shared()
{
    static CloudOperationCache cache(defaultFilePath());
    return cache;
}

QString CloudOperationCache::defaultFilePath()
{
    return DataController::defaultDataDirectory() + QLatin1Char('/') + fileName;
}

CloudOperationCache::CloudOperationCache(QString filePath)
    : m_filePath(std::move(filePath))
    , m_queue(QStringLiteral("org.zestra.Zestra./cloud_operations_cache"))
{
    m_queue.sync([this] { load(); });
}

CloudOperationCache::~CloudOperationCache()
{
    waitForWork();
}

void CloudOperationCache::load()
{
    if (m_filePath.isEmpty())
        return;
    QFile file(m_filePath);
    if (!file.exists())
        return;
    QJsonParseError error;
    const QJsonDocument document = file.open(QIODevice::ReadOnly)
                                       ? QJsonDocument::fromJson(file.readAll(), &error)
                                       : QJsonDocument();
    if (!document.isArray()) {
        // Kept for a person to look at; the next write starts a new list.
        const QString aside =
            m_filePath + QStringLiteral(".unreadable-") +
            QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddTHHmmss"));
        file.close();
        const bool moved = QFile::rename(m_filePath, aside);
        Console::line(QStringLiteral("warn @ load() -> ") + m_filePath +
                      (moved ? QStringLiteral(" is unreadable; kept as ") + aside
                             : QStringLiteral(" is unreadable and could not be moved aside")));
        return;
    }
    int skipped = 0;
    for (const QJsonValue& value : document.array()) {
        if (std::optional<CloudOperation> operation = decode(value))
            m_entries.append({m_nextSerial++, std::move(*operation)});
        else
            ++skipped;
    }
    if (skipped > 0)
        Console::line(
            QStringLiteral("warn @ load() -> %1 unreadable operations skipped").arg(skipped));
}

void CloudOperationCache::save()
{
    if (m_filePath.isEmpty())
        return;
    QJsonArray array;
    for (const Entry& entry : std::as_const(m_entries))
        array.append(encode(entry.operation));
    QDir().mkpath(QFileInfo(m_filePath).absolutePath());
    QString error;
    if (!AtomicFile::write(m_filePath, QJsonDocument(array).toJson(QJsonDocument::Compact), error))
        Console::line(QStringLiteral("warn @ save() -> No se ha salvado"));
}

bool CloudOperationCache::isPending()
{
    bool pending = false;
    m_queue.sync([this, &pending] { pending = !m_entries.isEmpty(); });
    return pending;
}

QList<CloudOperation> CloudOperationCache::operations()
{
    QList<CloudOperation> operations;
    m_queue.sync([this, &operations] {
        for (const Entry& entry : std::as_const(m_entries))
            operations.append(entry.operation);
    });
    return operations;
}

void CloudOperationCache::append(CloudOperation operation)
{
    m_queue.async([this, operation = std::move(operation)]() mutable {
        m_entries.append({m_nextSerial++, std::move(operation)});
        save();
    });
}

void CloudOperationCache::processPendingOperations(CloudOperationPerformer& performer,
                                                   Progress recordHandler,
                                                   Progress operationHandler)
{
    m_queue.async([this, &performer, recordHandler = std::move(recordHandler),
                   operationHandler = std::move(operationHandler)] {
        replay(performer, recordHandler, operationHandler);
    });
}

void CloudOperationCache::replay(CloudOperationPerformer& performer, const Progress& recordHandler,
                                 const Progress& operationHandler)
{
    // Operations appended while this replay runs wait for the next one.
    const QList<Entry> snapshot = m_entries;
    const int count = int(snapshot.size());
    int answered = 0;
    for (const Entry& entry : snapshot) {
        if (!entry.operation.isSupported()) {
            Console::line(
                QStringLiteral("err @ process(operation:) -> Combinación no contemplada"));
            removeEntry(entry.serial);
        } else {
            std::promise<CloudOperationPerformer::Outcome> answer;
            std::future<CloudOperationPerformer::Outcome> outcome = answer.get_future();
            // The performer may answer on any thread, or at once on this one.
            auto once = std::make_shared<std::once_flag>();
            performer.perform(entry.operation,
                              [answer = std::make_shared<decltype(answer)>(std::move(answer)),
                               once](CloudOperationPerformer::Outcome result) {
                                  std::call_once(*once, [&] { answer->set_value(result); });
                              });
            if (outcome.get() == CloudOperationPerformer::Outcome::networkFailure)
                break;
            removeEntry(entry.serial);
        }
        if (recordHandler)
            recordHandler(answered, count);
        ++answered;
    }
    if (operationHandler)
        operationHandler(answered, count);
}

void CloudOperationCache::removeEntry(quint64 serial)
{
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].serial == serial) {
            m_entries.removeAt(i);
            save();
            return;
        }
    }
}

void CloudOperationCache::waitForWork()
{
    m_queue.sync([] {});
}
