#include "thieves/ApplicationIcon.h"

#include <QFile>
#include <QStandardPaths>

namespace {

// A store row is no place for a huge picture.
constexpr qint64 largestIcon = 512 * 1024;

std::optional<QByteArray> readSmall(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > largestIcon)
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (bytes.isEmpty())
        return std::nullopt;
    return bytes;
}

} // namespace

std::optional<QByteArray> ApplicationIcon::data(const QString& icon)
{
    if (icon.isEmpty())
        return std::nullopt;
    if (icon.startsWith(QLatin1Char('/')))
        return readSmall(icon);
    if (icon.contains(QLatin1Char('/')))
        return std::nullopt;
    static const char* const places[] = {
        "icons/hicolor/scalable/apps/%1.svg",
        "icons/hicolor/256x256/apps/%1.png",
        "icons/hicolor/128x128/apps/%1.png",
        "icons/hicolor/64x64/apps/%1.png",
        "icons/hicolor/48x48/apps/%1.png",
        "pixmaps/%1.svg",
        "pixmaps/%1.png",
    };
    for (const char* place : places) {
        const QString path = QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                                    QString::fromLatin1(place).arg(icon));
        if (!path.isEmpty())
            if (std::optional<QByteArray> bytes = readSmall(path))
                return bytes;
    }
    return std::nullopt;
}
