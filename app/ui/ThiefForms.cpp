#include "ui/ThiefForms.h"

#include <QUrl>

#include "store/Localization.h"
#include "thieves/DesktopEntry.h"
#include "thieves/ThiefDictionary.h"
#include "thieves/ThiefKind.h"
#include "thieves/WebsiteHost.h"

std::optional<QVariantMap> ThiefForms::website(const QString& name, const QString& domain,
                                               QString& error)
{
    const QString trimmedName = name.trimmed();
    if (trimmedName.isEmpty()) {
        error = Localization::text("THIEF_WEBSITE_ERROR_NAME");
        return std::nullopt;
    }
    if (trimmedName.size() > maximumNameLength) {
        error = Localization::text("THIEF_WEBSITE_ERROR_NAME_LENGTH").arg(maximumNameLength);
        return std::nullopt;
    }
    QString typed = domain.trimmed();
    // A pasted address gives its host; a bare "example.com/page" its first part.
    if (typed.contains(QLatin1String("://")))
        typed = QUrl(typed).host();
    else
        typed = typed.section(QLatin1Char('/'), 0, 0);
    QString hostError;
    const std::optional<QString> host = WebsiteHost::normalised(typed, hostError);
    if (typed.isEmpty() || !host) {
        error = Localization::text("THIEF_WEBSITE_ERROR_DOMAIN").arg(domain.trimmed());
        return std::nullopt;
    }
    return ThiefDictionary::make(trimmedName, *host, ThiefKind::rawValue(ThiefKind::Kind::website),
                                 true, false);
}

std::optional<QVariantMap> ThiefForms::application(const DesktopEntry& entry, QString& error)
{
    if (entry.name.trimmed().isEmpty() || entry.id.trimmed().isEmpty()) {
        error = Localization::text("THIEF_APPLICATION_ERROR_ENTRY");
        return std::nullopt;
    }
    return ThiefDictionary::make(entry.name, entry.id,
                                 ThiefKind::rawValue(ThiefKind::Kind::application), true, false);
}
