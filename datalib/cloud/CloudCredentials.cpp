#include "cloud/CloudCredentials.h"

#include <libpq-fe.h>

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QThread>
#include <QUrl>
#include <QUrlQuery>
#include <qt6keychain/keychain.h>

#include "AtomicFile.h"

namespace {

const QString keyringService = QStringLiteral("Zestra cloud database");

// libpq's reading of a connection string, as key and value.
std::optional<QHash<QString, QString>> options(const QString& uri, QString& error)
{
    char* message = nullptr;
    PQconninfoOption* parsed = PQconninfoParse(uri.toUtf8().constData(), &message);
    if (!parsed) {
        error = message ? QString::fromUtf8(message).trimmed()
                        : QStringLiteral("not a connection string");
        PQfreemem(message);
        return std::nullopt;
    }
    QHash<QString, QString> values;
    for (PQconninfoOption* option = parsed; option->keyword; ++option) {
        if (option->val)
            values.insert(QString::fromUtf8(option->keyword), QString::fromUtf8(option->val));
    }
    PQconninfoFree(parsed);
    return values;
}

// The keyring library runs its jobs through one object of the main thread, which still holds
// a job for a moment after it finished: jobs live on the heap, delete themselves, and are
// only ever started on the main thread.
bool onMainThread()
{
    return QCoreApplication::instance() &&
           QThread::currentThread() == QCoreApplication::instance()->thread();
}

// A keyring job run to its end (the keyring answers over D-Bus, so the caller waits here);
// `read` sees the finished job. False with `error` when it failed.
template <typename Job, typename Read> bool run(Job* job, QString& error, Read read)
{
    bool succeeded = false;
    QEventLoop loop;
    QObject::connect(job, &QKeychain::Job::finished, &loop, [&](QKeychain::Job* finished) {
        succeeded = finished->error() == QKeychain::NoError;
        error = finished->errorString();
        if (succeeded)
            read(static_cast<Job*>(finished));
        loop.quit();
    });
    job->setAutoDelete(true);
    job->start();
    loop.exec();
    return succeeded;
}

// One line of the password file: ':' and '\' in a field are escaped with '\'.
QString passwordFileField(QString text)
{
    text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    text.replace(QLatin1Char(':'), QStringLiteral("\\:"));
    return text;
}

} // namespace

std::optional<CloudCredentials::Parsed> CloudCredentials::parse(const QString& uri, QString& error)
{
    const QString trimmed = uri.trimmed();
    if (!trimmed.startsWith(QLatin1String("postgresql://")) &&
        !trimmed.startsWith(QLatin1String("postgres://"))) {
        error = QStringLiteral("\"%1\" is not a postgresql:// URI").arg(uri);
        return std::nullopt;
    }
    const std::optional<QHash<QString, QString>> values = options(trimmed, error);
    if (!values)
        return std::nullopt;
    QUrl url(trimmed, QUrl::StrictMode);
    if (!url.isValid()) {
        error = QStringLiteral("\"%1\" is not a URI: %2").arg(uri, url.errorString());
        return std::nullopt;
    }
    Parsed parsed;
    parsed.user = values->value(QStringLiteral("user"));
    if (values->contains(QStringLiteral("password")))
        parsed.password = values->value(QStringLiteral("password"));
    url.setPassword(QString());
    QUrlQuery query(url);
    query.removeAllQueryItems(QStringLiteral("password"));
    url.setQuery(query);
    parsed.uri = url.toString(QUrl::FullyEncoded);
    if (parsed.user.isEmpty()) {
        error = QStringLiteral("the URI names no user");
        return std::nullopt;
    }
    return parsed;
}

std::optional<CloudCredentials::Place> CloudCredentials::store(const QString& uri,
                                                               const QString& user,
                                                               const QString& password,
                                                               QString& error)
{
    QString keyringError = QStringLiteral("not asked off the main thread");
    if (onMainThread()) {
        auto* job = new QKeychain::WritePasswordJob(keyringService);
        job->setInsecureFallback(false);
        job->setKey(uri);
        job->setTextData(password);
        if (run(job, keyringError, [](QKeychain::WritePasswordJob*) {}))
            return Place::keyring;
    }
    QString fileError;
    if (storeInPasswordFile(uri, user, password, fileError))
        return Place::passwordFile;
    error = QStringLiteral("no keyring answered (%1) and %2").arg(keyringError, fileError);
    return std::nullopt;
}

std::optional<QString> CloudCredentials::password(const QString& uri)
{
    if (!onMainThread())
        return std::nullopt;
    auto* job = new QKeychain::ReadPasswordJob(keyringService);
    job->setInsecureFallback(false);
    job->setKey(uri);
    std::optional<QString> password;
    QString error;
    run(job, error, [&password](QKeychain::ReadPasswordJob* done) { password = done->textData(); });
    return password;
}

QString CloudCredentials::passwordFilePath()
{
    const QString named = qEnvironmentVariable("PGPASSFILE");
    return named.isEmpty() ? QDir::homePath() + QStringLiteral("/.pgpass") : named;
}

bool CloudCredentials::storeInPasswordFile(const QString& uri, const QString& user,
                                           const QString& password, QString& error)
{
    const std::optional<QHash<QString, QString>> values = options(uri, error);
    if (!values)
        return false;
    // libpq matches host (a socket folder by its path), port, database and user.
    const QString host = values->value(QStringLiteral("host"), QStringLiteral("localhost"));
    const QString prefix =
        QStringList{
            passwordFileField(host),
            passwordFileField(values->value(QStringLiteral("port"), QStringLiteral("5432"))),
            passwordFileField(values->value(QStringLiteral("dbname"), user)),
            passwordFileField(user)}
            .join(QLatin1Char(':')) +
        QLatin1Char(':');
    const QString path = passwordFilePath();
    QStringList lines;
    QFile existing(path);
    if (existing.exists()) {
        if (!existing.open(QIODevice::ReadOnly)) {
            error = QStringLiteral("%1 cannot be read: %2").arg(path, existing.errorString());
            return false;
        }
        // The user's other lines stay; an older line for the same server and user goes.
        for (const QString& line : QString::fromUtf8(existing.readAll()).split(QLatin1Char('\n'))) {
            if (!line.isEmpty() && !line.startsWith(prefix))
                lines.append(line);
        }
    }
    lines.append(prefix + passwordFileField(password));
    // Made private before the password is in it; the replacement keeps these permissions.
    if (!existing.exists()) {
        QFile created(path);
        if (!created.open(QIODevice::WriteOnly) ||
            !created.setPermissions(QFile::ReadOwner | QFile::WriteOwner)) {
            error = QStringLiteral("%1 could not be made: %2").arg(path, created.errorString());
            return false;
        }
    }
    if (!AtomicFile::write(path, (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8(),
                           error)) {
        error = QStringLiteral("%1 could not be written: %2").arg(path, error);
        return false;
    }
    // libpq ignores a password file others can read.
    return QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}
