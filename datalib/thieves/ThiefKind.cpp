#include "thieves/ThiefKind.h"

std::optional<ThiefKind::Kind> ThiefKind::fromRawValue(const QString& raw)
{
    for (Kind kind : {Kind::website, Kind::application, Kind::interruption}) {
        if (rawValue(kind) == raw)
            return kind;
    }
    return std::nullopt;
}

QString ThiefKind::rawValue(Kind kind)
{
    switch (kind) {
    case Kind::website:
        return QStringLiteral("website");
    case Kind::application:
        return QStringLiteral("application");
    case Kind::interruption:
        return QStringLiteral("interruption");
    }
    return QString();
}
