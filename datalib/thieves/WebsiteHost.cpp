#include "thieves/WebsiteHost.h"

#include <QStringList>
#include <QUrl>

namespace {

bool isLabel(const QString& label)
{
    if (label.isEmpty() || label.size() > 63 || label.startsWith(QLatin1Char('-')) ||
        label.endsWith(QLatin1Char('-')))
        return false;
    for (QChar c : label) {
        const char16_t u = c.unicode();
        if (!((u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '-'))
            return false;
    }
    return true;
}

} // namespace

QString WebsiteHost::withoutWww(const QString& host)
{
    return host.startsWith(QLatin1String("www.")) ? host.mid(4) : host;
}

std::optional<QString> WebsiteHost::normalised(const QString& domain, QString& error)
{
    const QString typed = domain.trimmed();
    // International names are kept in their ASCII form, as browsers report the host.
    const QString ascii = QString::fromLatin1(QUrl::toAce(typed.toLower()));
    const QString host = withoutWww(ascii);
    const QStringList labels = host.split(QLatin1Char('.'));
    bool valid = !host.isEmpty() && host.size() <= 253;
    for (const QString& label : labels)
        valid = valid && isLabel(label);
    if (!valid) {
        error = QStringLiteral("\"%1\" is not a host name such as example.com").arg(domain);
        return std::nullopt;
    }
    return host;
}
