#include "ui/CloudPreferencesViewController.h"

#include <QDateTime>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

#include "cloud/CloudCredentials.h"
#include "cloud/CloudDatabase.h"
#include "services/ConfiguredCloud.h"
#include "settings/Settings.h"
#include "store/Date.h"
#include "store/Localization.h"
#include "ui/CloudConnectionForm.h"

CloudPreferencesViewController::CloudPreferencesViewController(Settings& settings, Hooks hooks,
                                                               QWidget* parent)
    : QWidget(parent)
    , m_settings(settings)
    , m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("CloudPreferencesViewController"));
    auto* title = new QLabel(Localization::text("CLOUD_PANE_TITLE"));
    QFont titleFont = title->font();
    titleFont.setBold(true);
    title->setFont(titleFont);
    auto* explanation = new QLabel(Localization::text("CLOUD_PANE_EXPLANATION"));
    explanation->setWordWrap(true);
    explanation->setStyleSheet(QStringLiteral("color: #777777;"));

    textServer = new QLineEdit;
    textServer->setPlaceholderText(
        QStringLiteral("postgresql://db.example.org/zestra?sslmode=require"));
    textUser = new QLineEdit;
    textPassword = new QLineEdit;
    textPassword->setEchoMode(QLineEdit::Password);
    textPassword->setPlaceholderText(Localization::text("CLOUD_PANE_PASSWORD_KEPT"));
    auto* form = new QFormLayout;
    form->addRow(Localization::text("CLOUD_PANE_SERVER"), textServer);
    form->addRow(Localization::text("CLOUD_PANE_USER"), textUser);
    form->addRow(Localization::text("CLOUD_PANE_PASSWORD"), textPassword);

    buttonSave = new QPushButton(Localization::text("CLOUD_PANE_SAVE"));
    buttonTest = new QPushButton(Localization::text("CLOUD_PANE_TEST"));
    buttonSyncNow = new QPushButton(Localization::text("CLOUD_PANE_SYNC_NOW"));
    buttonSyncNow->setEnabled(bool(m_hooks.syncNow));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(buttonTest);
    buttons->addStretch(1);
    buttons->addWidget(buttonSave);

    labelStatus = new QLabel;
    labelStatus->setWordWrap(true);
    labelStatus->setTextFormat(Qt::PlainText);
    labelLastSync = new QLabel;
    auto* sync = new QHBoxLayout;
    sync->addWidget(labelLastSync, 1);
    sync->addWidget(buttonSyncNow);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->setSpacing(10);
    layout->addWidget(title);
    layout->addWidget(explanation);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addWidget(labelStatus);
    layout->addStretch(1);
    layout->addLayout(sync);

    connect(buttonSave, &QPushButton::clicked, this,
            &CloudPreferencesViewController::doSaveButtonTap);
    connect(buttonTest, &QPushButton::clicked, this,
            &CloudPreferencesViewController::doTestButtonTap);
    connect(buttonSyncNow, &QPushButton::clicked, this, [this] {
        if (m_hooks.syncNow)
            m_hooks.syncNow();
    });
    reload();
}

CloudPreferencesViewController::~CloudPreferencesViewController()
{
    if (m_test)
        m_test->wait();
}

void CloudPreferencesViewController::reload()
{
    const QString uri =
        m_settings.stringValue(QLatin1String(Settings::CloudDatabaseURI)).value_or(QString());
    const CloudConnectionForm::Fields fields = CloudConnectionForm::fields(uri);
    textServer->setText(fields.server);
    textUser->setText(fields.user);
    textPassword->clear();
    const std::optional<QString> last =
        m_settings.stringValue(QLatin1String(Settings::CloudLastSync));
    bool ok = false;
    const double moment = last ? last->toDouble(&ok) : 0;
    labelLastSync->setText(
        ok ? Localization::text("CLOUD_PANE_LAST_SYNC")
                 .arg(QLocale::system().toString(Date(moment).toDateTime(), QLocale::ShortFormat))
           : Localization::text("CLOUD_PANE_NEVER_SYNCED"));
}

std::optional<CloudConnectionForm::Connection> CloudPreferencesViewController::typedConnection()
{
    QString error;
    std::optional<CloudConnectionForm::Connection> connection = CloudConnectionForm::connection(
        {textServer->text(), textUser->text(), textPassword->text()}, error);
    if (!connection)
        showStatus(error, true);
    return connection;
}

bool CloudPreferencesViewController::doSaveButtonTap()
{
    const std::optional<CloudConnectionForm::Connection> connection = typedConnection();
    if (!connection)
        return false;
    QString error;
    if (connection->password) {
        const std::optional<CloudCredentials::Place> place = CloudCredentials::store(
            connection->uri, connection->user, *connection->password, error);
        if (!place) {
            showStatus(Localization::text("CLOUD_PANE_PASSWORD_FAILED").arg(error), true);
            return false;
        }
    }
    if (!m_settings.setString(QLatin1String(Settings::CloudDatabaseURI), connection->uri)) {
        showStatus(Localization::text("CLOUD_PANE_SETTINGS_FAILED"), true);
        return false;
    }
    textPassword->clear();
    showStatus(Localization::text("CLOUD_PANE_SAVED"), false);
    if (m_hooks.connectionChanged)
        m_hooks.connectionChanged();
    return true;
}

void CloudPreferencesViewController::doTestButtonTap()
{
    const std::optional<CloudConnectionForm::Connection> connection = typedConnection();
    if (!connection) {
        emit testFinished(false);
        return;
    }
    if (m_test)
        return;
    buttonTest->setEnabled(false);
    showStatus(Localization::text("CLOUD_PANE_TESTING"), false);
    // A test that cannot reach its server says so in seconds.
    const QString uri = ConfiguredCloud::withConnectTimeout(connection->uri, 10);
    // The keyring answers on this thread only.
    const std::optional<QString> password =
        connection->password ? connection->password : CloudCredentials::password(connection->uri);
    QPointer<CloudPreferencesViewController> self(this);
    m_test = QThread::create([self, uri, password] {
        CloudDatabase database(uri, password);
        CloudFailure failure;
        const std::optional<CloudDatabase::AccountStatus> status = database.accountStatus(failure);
        QString text;
        bool reached = false;
        if (!status)
            text = Localization::text("CLOUD_PANE_TEST_FAILED").arg(failure.message);
        else if (*status == CloudDatabase::AccountStatus::NoAccount)
            text = Localization::text("CLOUD_PANE_TEST_NO_ACCOUNT");
        else {
            text = Localization::text("CLOUD_PANE_TEST_OK");
            reached = true;
        }
        QMetaObject::invokeMethod(
            self,
            [self, text, reached] {
                if (!self)
                    return;
                self->m_test->wait();
                self->m_test->deleteLater();
                self->m_test = nullptr;
                self->buttonTest->setEnabled(true);
                self->showStatus(text, !reached);
                emit self->testFinished(reached);
            },
            Qt::QueuedConnection);
    });
    m_test->setParent(this);
    m_test->start();
}

void CloudPreferencesViewController::showStatus(const QString& text, bool problem)
{
    labelStatus->setText(text);
    labelStatus->setStyleSheet(problem ? QStringLiteral("color: #d81c1c;")
                                       : QStringLiteral("color: #2e7d32;"));
}
