#include "cloud/CloudCredentials.h"

#include <mutex>

#include <libpq-fe.h>

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QThread>
#include <QUrl>
#include <QUrlQuery>

#include "AtomicFile.h"

namespace {

const QString keyringService = QStringLiteral("Zestra cloud database");
// zestra-keyring's status when nothing is stored under the key.
constexpr int notStored = 2;

std::mutex answersLock;
QHash<QString, std::optional<QString>> answers;

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

QString keyringProgram()
{
    const QString installed =
        QCoreApplication::applicationDirPath() + QStringLiteral("/" ZESTRA_KEYRING_FROM_PROGRAM);
    return QFileInfo(installed).isExecutable() ? installed : QStringLiteral(ZESTRA_KEYRING_BUILT);
}

// zestra-keyring run to its end, `input` written to it: its exit status (-1 when it could not
// run or did not end) and what it printed. The keyring may ask the user to unlock it, so the
// main thread keeps its events going meanwhile.
int runKeyring(const QStringList& arguments, const QByteArray& input, QByteArray& output,
               QString& error)
{
    QProcess process;
    QEventLoop loop;
    const bool onMainThread = QCoreApplication::instance() &&
                              QThread::currentThread() == QCoreApplication::instance()->thread();
    if (onMainThread) {
        QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        QObject::connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    }
    process.start(keyringProgram(), arguments);
    if (!process.waitForStarted()) {
        error = QStringLiteral("zestra-keyring did not start: ") + process.errorString();
        return -1;
    }
    process.write(input);
    process.closeWriteChannel();
    if (onMainThread && process.state() != QProcess::NotRunning)
        loop.exec();
    else
        process.waitForFinished(-1);
    output = process.readAllStandardOutput();
    error = QString::fromUtf8(process.readAllStandardError()).trimmed();
    if (process.exitStatus() != QProcess::NormalExit) {
        error = QStringLiteral("zestra-keyring ended abnormally");
        return -1;
    }
    return process.exitCode();
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
    QString keyringError;
    QByteArray ignored;
    const bool kept = runKeyring({QStringLiteral("write"), keyringService, uri}, password.toUtf8(),
                                 ignored, keyringError) == 0;
    {
        const std::lock_guard guard(answersLock);
        answers.insert(uri, kept ? std::optional(password) : std::nullopt);
    }
    if (kept)
        return Place::keyring;
    QString fileError;
    if (storeInPasswordFile(uri, user, password, fileError))
        return Place::passwordFile;
    error = QStringLiteral("no keyring answered (%1) and %2").arg(keyringError, fileError);
    return std::nullopt;
}

std::optional<QString> CloudCredentials::password(const QString& uri)
{
    // Asked again on every change of the network: the keyring's answer is kept (a password
    // or none) for the life of the process, and replaced by the next store().
    {
        const std::lock_guard guard(answersLock);
        const auto known = answers.constFind(uri);
        if (known != answers.cend())
            return *known;
    }
    QByteArray secret;
    QString error;
    const int status =
        runKeyring({QStringLiteral("read"), keyringService, uri}, QByteArray(), secret, error);
    // A keyring that failed (locked, not running) may answer later.
    if (status != 0 && status != notStored)
        return std::nullopt;
    const std::optional<QString> password =
        status == 0 ? std::optional(QString::fromUtf8(secret)) : std::nullopt;
    const std::lock_guard guard(answersLock);
    answers.insert(uri, password);
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
