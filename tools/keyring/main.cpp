// zestra-keyring read <service> <key>    prints the secret stored under the key
// zestra-keyring write <service> <key>   stores the secret given on standard input
//
// Exit status: 0 done, 1 the keyring failed or none answered (why on standard error), 2 no
// secret is stored under the key, 64 wrong use. A secret never travels in the arguments.

#include <cstdio>

#include <QCoreApplication>
#include <QFile>
#include <QTimer>
#include <qt6keychain/keychain.h>

namespace {

int finish(QKeychain::Job* job)
{
    if (job->error() == QKeychain::NoError)
        return 0;
    std::fprintf(stderr, "zestra-keyring: %s\n", qPrintable(job->errorString()));
    return job->error() == QKeychain::EntryNotFound ? 2 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(1);
    if (arguments.size() != 3 ||
        (arguments[0] != QLatin1String("read") && arguments[0] != QLatin1String("write"))) {
        std::fprintf(stderr, "usage: zestra-keyring read|write <service> <key>\n");
        return 64;
    }
    QKeychain::Job* job = nullptr;
    if (arguments[0] == QLatin1String("read")) {
        job = new QKeychain::ReadPasswordJob(arguments[1], &application);
    } else {
        QFile input;
        if (!input.open(stdin, QIODevice::ReadOnly)) {
            std::fprintf(stderr, "zestra-keyring: standard input cannot be read\n");
            return 1;
        }
        auto* write = new QKeychain::WritePasswordJob(arguments[1], &application);
        write->setTextData(QString::fromUtf8(input.readAll()));
        job = write;
    }
    // Only the keyring: never a file of QtKeychain's own.
    job->setInsecureFallback(false);
    job->setAutoDelete(false);
    job->setKey(arguments[2]);
    int status = 1;
    QObject::connect(job, &QKeychain::Job::finished, &application, [&](QKeychain::Job* done) {
        status = finish(done);
        if (status == 0 && arguments[0] == QLatin1String("read")) {
            const QByteArray secret =
                static_cast<QKeychain::ReadPasswordJob*>(done)->textData().toUtf8();
            std::fwrite(secret.constData(), 1, size_t(secret.size()), stdout);
        }
        application.quit();
    });
    QTimer::singleShot(0, job, &QKeychain::Job::start);
    application.exec();
    return status;
}
