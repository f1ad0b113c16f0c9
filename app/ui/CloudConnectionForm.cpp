#include "ui/CloudConnectionForm.h"

#include <QUrl>

#include "cloud/CloudCredentials.h"
#include "store/Localization.h"

std::optional<CloudConnectionForm::Connection> CloudConnectionForm::connection(const Fields& fields,
                                                                               QString& error)
{
    QUrl url(fields.server.trimmed(), QUrl::StrictMode);
    const QString scheme = url.scheme();
    if (!url.isValid() ||
        (scheme != QLatin1String("postgresql") && scheme != QLatin1String("postgres"))) {
        error = Localization::text("CLOUD_PANE_ERROR_SERVER");
        return std::nullopt;
    }
    if (!fields.user.trimmed().isEmpty())
        url.setUserName(fields.user.trimmed());
    if (!fields.password.isEmpty())
        url.setPassword(fields.password);
    QString parseError;
    const std::optional<CloudCredentials::Parsed> parsed =
        CloudCredentials::parse(url.toString(QUrl::FullyEncoded), parseError);
    if (!parsed) {
        error = url.userName().isEmpty() ? Localization::text("CLOUD_PANE_ERROR_USER")
                                         : Localization::text("CLOUD_PANE_ERROR_SERVER");
        return std::nullopt;
    }
    return Connection{parsed->uri, parsed->user, parsed->password};
}

CloudConnectionForm::Fields CloudConnectionForm::fields(const QString& uri)
{
    QUrl url(uri);
    Fields fields;
    fields.user = url.userName();
    url.setUserInfo(QString());
    fields.server = uri.isEmpty() ? QString() : url.toString(QUrl::FullyEncoded);
    return fields;
}
