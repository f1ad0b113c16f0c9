#include "cloud/CloudDataController.h"

#include "Console.h"
#include "cloud/CloudChangeApplier.h"
#include "cloud/CloudChangeFetcher.h"
#include "cloud/CloudOperationCache.h"
#include "cloud/CloudOperationReplayer.h"
#include "cloud/CloudPushListener.h"
#include "cloud/CloudRecordMapping.h"
#include "cloud/CloudRecordWriter.h"
#include "cloud/CloudTokenStore.h"
#include "cloud/CloudValues.h"
#include "dispatch/Clock.h"

namespace {

CloudOperation operation(CloudOperation::Record record, CloudOperation::Operation kind,
                         QVariantMap userInfo)
{
    CloudOperation queued;
    queued.recordType = record;
    queued.operation = kind;
    queued.userInfo = std::move(userInfo);
    return queued;
}

QVariantMap named(const QString& recordID, QVariantMap more = {})
{
    more.insert(QStringLiteral("cloudRecordID"), recordID);
    return more;
}

} // namespace

CloudDataController::CloudDataController(QString uri, std::optional<QString> password,
                                         DataController& store, CloudOperationCache& cache,
                                         std::shared_ptr<CloudTokenStore> tokens, Parts parts)
    : m_uri(std::move(uri))
    , m_password(std::move(password))
    , m_cache(cache)
    , m_writer(parts.writer ? std::move(parts.writer)
                            : std::make_unique<CloudRecordWriter>(m_uri, m_password))
    , m_replayer(std::make_unique<CloudOperationReplayer>(*m_writer, store))
    , m_fetcher(std::make_unique<CloudChangeFetcher>(m_uri, m_password, store, std::move(tokens),
                                                     std::move(parts.applier)))
    , m_writeQueue(QStringLiteral("org.zestra.Zestra.cloud-writes"))
    , m_fetchQueue(QStringLiteral("org.zestra.Zestra.cloud-fetch"))
{}

CloudDataController::~CloudDataController()
{
    {
        std::lock_guard lock(m_lifetime->mutex);
        m_lifetime->alive = false;
    }
    std::unique_ptr<CloudPushListener> listener;
    {
        std::lock_guard lock(m_mutex);
        listener = std::move(m_listener);
    }
    // Joins the listening thread, the only one that calls in from outside.
    listener.reset();
    // A replay under way answers through this engine's write queue.
    m_cache.waitForWork();
}

void CloudDataController::callLater(double seconds, std::function<void()> fn)
{
    std::shared_ptr<Lifetime> lifetime = m_lifetime;
    Clock::shared()->callAt(Clock::current() + seconds, [lifetime, fn = std::move(fn)] {
        std::lock_guard lock(lifetime->mutex);
        if (lifetime->alive)
            fn();
    });
}

void CloudDataController::iCloudConnectionOnline(Handler handler)
{
    m_writeQueue.async([this, handler = std::move(handler)] {
        CloudFailure failure;
        const auto status = m_writer->database().accountStatus(failure);
        if (!status) {
            Console::line(QStringLiteral("err @ iCloudConnectionOnline(completionHandler:) -> ") +
                          failure.message);
            return;
        }
        if (handler)
            handler(*status == CloudDatabase::AccountStatus::Available);
    });
}

void CloudDataController::subscribeToCloudEvents(Handler handler)
{
    m_writeQueue.async([this, handler = std::move(handler)] {
        if (isSubscribed()) {
            if (handler)
                handler(true);
            return;
        }
        CloudFailure failure;
        const std::optional<QString> channel = m_writer->database().channel(failure);
        if (channel) {
            // The listener's thread is joined before this engine goes.
            auto listener = std::make_unique<CloudPushListener>(m_uri, m_password, *channel,
                                                                [this] { fetchChanges(); });
            {
                std::lock_guard lock(m_mutex);
                m_listener = std::move(listener);
            }
            if (handler)
                handler(true);
            return;
        }
        if (failure.isNetworkFailure()) {
            Console::line(QStringLiteral("err @ subscribeToCloudEvents -> ") + failure.message);
            if (failure.retryAfter) {
                Console::line(QStringLiteral("Reintentar suscriptión tras %1 segundos")
                                  .arg(*failure.retryAfter));
                callLater(*failure.retryAfter,
                          [this, handler] { subscribeToCloudEvents(handler); });
            }
        } else {
            Console::line(QStringLiteral("err @ subscribeToCloudEvents -> Algo pasa con las "
                                         "suscripciones.\n") +
                          failure.message);
        }
        if (handler)
            handler(false);
    });
}

bool CloudDataController::isSubscribed()
{
    std::lock_guard lock(m_mutex);
    return m_listener != nullptr;
}

bool CloudDataController::isListening()
{
    std::lock_guard lock(m_mutex);
    return m_listener && m_listener->isListening();
}

void CloudDataController::fetchChanges()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_fetching) {
            // However many pushes come meanwhile, one more fetch takes in all they announced.
            m_fetchAgain = true;
            return;
        }
        m_fetching = true;
    }
    m_fetchQueue.async([this] {
        for (;;) {
            m_fetcher->fetchChanges();
            std::lock_guard lock(m_mutex);
            if (!m_fetchAgain) {
                m_fetching = false;
                return;
            }
            m_fetchAgain = false;
        }
    });
}

void CloudDataController::processPendingOperations()
{
    m_cache.processPendingOperations(*this);
}

void CloudDataController::waitForWork()
{
    m_writeQueue.sync([] {});
    m_fetchQueue.sync([] {});
    m_writeQueue.sync([] {});
}

void CloudDataController::keep(const CloudOperation& queued, const CloudFailure& failure)
{
    m_cache.append(queued);
    if (failure.retryAfter)
        scheduleReplay(*failure.retryAfter);
}

void CloudDataController::scheduleReplay(int seconds)
{
    {
        std::lock_guard lock(m_mutex);
        // One replay takes every queued operation; a second would find nothing more.
        if (m_replayScheduled)
            return;
        m_replayScheduled = true;
    }
    callLater(seconds, [this] {
        {
            std::lock_guard lock(m_mutex);
            m_replayScheduled = false;
        }
        processPendingOperations();
    });
}

void CloudDataController::save(CloudRecord record, CloudOperation queued, SaveCompletion completion)
{
    m_writeQueue.async([this, record = std::move(record), queued = std::move(queued),
                        completion = std::move(completion)] {
        CloudFailure failure;
        const std::optional<CloudRecord> saved = m_writer->save(record, failure);
        const bool pending = !saved && failure.keepsTheWrite();
        if (pending)
            keep(queued, failure);
        if (completion)
            completion(saved ? std::optional<QString>(saved->recordName()) : std::nullopt, !saved,
                       pending);
    });
}

void CloudDataController::change(CloudOperation queued,
                                 std::function<void(bool failed, bool pending)> done,
                                 const QString& doneLine)
{
    m_writeQueue.async([this, queued = std::move(queued), done = std::move(done), doneLine] {
        CloudFailure failure;
        const Outcome outcome = m_replayer->replay(queued, failure);
        if (outcome == Outcome::networkFailure)
            keep(queued, failure);
        else if (outcome == Outcome::done && !doneLine.isEmpty())
            Console::line(doneLine);
        if (done)
            done(outcome != Outcome::done, outcome == Outcome::networkFailure);
    });
}

void CloudDataController::perform(const CloudOperation& operation,
                                  std::function<void(Outcome outcome)> completion)
{
    m_writeQueue.async([this, operation, completion = std::move(completion)] {
        CloudFailure failure;
        const Outcome outcome = m_replayer->replay(operation, failure);
        if (outcome == Outcome::networkFailure && failure.retryAfter)
            scheduleReplay(*failure.retryAfter);
        completion(outcome);
    });
}

namespace {

// The delete contract: (deleted, pending), and nothing for a failure that is not the
// network's.
std::function<void(bool, bool)> deleted(CloudSync::DeleteCompletion completion)
{
    if (!completion)
        return {};
    return [completion = std::move(completion)](bool failed, bool pending) {
        if (!failed || pending)
            completion(!failed, pending);
    };
}

} // namespace

void CloudDataController::saveTask(const TaskParameter& task,
                                   const std::optional<QString>& taskInfoRecordID,
                                   SaveCompletion completion)
{
    save(CloudRecordMapping::taskRecord(task, taskInfoRecordID),
         operation(CloudOperation::Record::task, CloudOperation::Operation::save,
                   {{QStringLiteral("taskParameter"), CloudValues::from(task)}}),
         std::move(completion));
}

void CloudDataController::renameTaskReferenced(const QString& recordID,
                                               const QString& taskInfoRecordID,
                                               EditCompletion completion)
{
    change(operation(CloudOperation::Record::task, CloudOperation::Operation::update,
                     named(recordID, {{QStringLiteral("taskName"), taskInfoRecordID}})),
           std::move(completion));
}

void CloudDataController::deleteTask(const QString& recordID, DeleteCompletion completion)
{
    change(
        operation(CloudOperation::Record::task, CloudOperation::Operation::remove, named(recordID)),
        deleted(std::move(completion)), QStringLiteral("Task deleted ok..."));
}

void CloudDataController::saveTaskInfo(const TaskInfoParameter& taskInfo, SaveCompletion completion)
{
    save(CloudRecordMapping::taskInfoRecord(taskInfo),
         operation(CloudOperation::Record::taskInfo, CloudOperation::Operation::save,
                   {{QStringLiteral("taskInfoParameter"), CloudValues::from(taskInfo)}}),
         std::move(completion));
}

void CloudDataController::renameTaskWithNewName(const QString& recordID, const QString& newName,
                                                EditCompletion completion)
{
    change(operation(CloudOperation::Record::taskInfo, CloudOperation::Operation::update,
                     named(recordID, {{QStringLiteral("taskName"), newName}})),
           std::move(completion));
}

void CloudDataController::updateTask(const QString& recordID, const TaskInfoParameter& parameter,
                                     EditCompletion completion)
{
    change(operation(CloudOperation::Record::taskInfo, CloudOperation::Operation::update,
                     named(recordID,
                           {{QStringLiteral("taskInfoParameter"), CloudValues::from(parameter)}})),
           std::move(completion));
}

void CloudDataController::deleteTaskInfo(const QString& recordID, DeleteCompletion completion)
{
    change(operation(CloudOperation::Record::taskInfo, CloudOperation::Operation::remove,
                     named(recordID)),
           deleted(std::move(completion)));
}

void CloudDataController::saveSession(double finishedAt, int tasksCount, SaveCompletion completion)
{
    save(CloudRecordMapping::sessionRecord(finishedAt, tasksCount),
         operation(CloudOperation::Record::session, CloudOperation::Operation::save,
                   {{QStringLiteral("finishedAt"), finishedAt},
                    {QStringLiteral("tasksCount"), tasksCount}}),
         std::move(completion));
}

void CloudDataController::saveGoal(double achieveAt, int tasksCount, SaveCompletion completion)
{
    save(CloudRecordMapping::goalRecord(achieveAt, tasksCount),
         operation(CloudOperation::Record::goal, CloudOperation::Operation::save,
                   {{QStringLiteral("achieveAt"), achieveAt},
                    {QStringLiteral("tasksCount"), tasksCount}}),
         std::move(completion));
}

void CloudDataController::saveThief(const Thief& thief, SaveCompletion completion)
{
    save(CloudRecordMapping::thiefRecord(thief),
         operation(CloudOperation::Record::thief, CloudOperation::Operation::save,
                   {{QStringLiteral("thief"), CloudValues::from(thief)}}),
         std::move(completion));
}

void CloudDataController::switchThief(const QString& recordID, bool isActive,
                                      EditCompletion completion)
{
    change(operation(CloudOperation::Record::thief, CloudOperation::Operation::update,
                     named(recordID, {{QStringLiteral("thiefActive"), isActive}})),
           std::move(completion));
}

void CloudDataController::saveWorkActivity(const WorkActivity& activity, SaveCompletion completion)
{
    save(CloudRecordMapping::workActivityRecord(activity),
         operation(CloudOperation::Record::workActivity, CloudOperation::Operation::save,
                   {{QStringLiteral("activity"), CloudValues::from(activity)}}),
         std::move(completion));
}

void CloudDataController::deleteWorkActivity(const QString& recordID, DeleteCompletion completion)
{
    change(operation(CloudOperation::Record::workActivity, CloudOperation::Operation::remove,
                     named(recordID)),
           deleted(std::move(completion)));
}
