#include "thieves/ThiefImages.h"

#include <QFile>

std::optional<QByteArray> ThiefImages::named(const QString& name)
{
    // An identifier is a name, never a path into other resources.
    if (name.isEmpty() || name.contains(QLatin1Char('/')))
        return std::nullopt;
    QFile file(QStringLiteral(":/tallycore/thieves/images/") + name + QStringLiteral(".svg"));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

QByteArray ThiefImages::namedOrGeneric(const QString& name)
{
    if (auto picture = named(name))
        return *picture;
    return named(QLatin1String(generic)).value_or(QByteArray());
}
