#include "thieves/DesktopEntry.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QTextStream>

namespace {

bool isDesktopId(const QString& id)
{
    if (id.isEmpty() || id.startsWith(QLatin1Char('.')))
        return false;
    for (QChar c : id) {
        if (c == QLatin1Char('/') || c.isSpace() || c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

// "Name[de_DE]", then "Name[de]", then "Name".
QStringList nameKeys()
{
    const QString locale = QLocale::system().name();
    QStringList keys;
    if (locale != QLatin1String("C")) {
        keys << QStringLiteral("Name[%1]").arg(locale);
        const qsizetype underscore = locale.indexOf(QLatin1Char('_'));
        if (underscore > 0)
            keys << QStringLiteral("Name[%1]").arg(locale.left(underscore));
    }
    keys << QStringLiteral("Name");
    return keys;
}

} // namespace

std::optional<DesktopEntry> DesktopEntry::find(const QString& desktopId, QString& error)
{
    QString id = desktopId;
    if (id.endsWith(QLatin1String(".desktop")))
        id.chop(8);
    if (!isDesktopId(id)) {
        error = QStringLiteral("\"%1\" is not a desktop entry id").arg(desktopId);
        return std::nullopt;
    }
    // $XDG_DATA_HOME first, then $XDG_DATA_DIRS in their order.
    const QStringList folders =
        QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    for (const QString& folder : folders) {
        const QString path =
            folder + QStringLiteral("/applications/") + id + QStringLiteral(".desktop");
        if (QFileInfo::exists(path))
            return read(id, path, error);
    }
    error = QStringLiteral("no application with the desktop entry id \"%1\" is installed").arg(id);
    return std::nullopt;
}

std::optional<DesktopEntry> DesktopEntry::read(const QString& id, const QString& path,
                                               QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    QTextStream in(&file);
    QHash<QString, QString> values;
    bool inMainGroup = false;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            inMainGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (inMainGroup && equals > 0)
            values.insert(line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
    }

    // A hidden entry stands for one that was removed.
    if (values.value(QStringLiteral("Hidden")) == QLatin1String("true")) {
        error = QStringLiteral("the desktop entry \"%1\" is hidden, as if removed").arg(id);
        return std::nullopt;
    }
    DesktopEntry entry;
    entry.id = id;
    entry.path = path;
    for (const QString& key : nameKeys()) {
        entry.name = values.value(key);
        if (!entry.name.isEmpty())
            break;
    }
    if (entry.name.isEmpty()) {
        error = QStringLiteral("the desktop entry %1 has no name").arg(path);
        return std::nullopt;
    }
    if (values.contains(QStringLiteral("Icon")))
        entry.icon = values.value(QStringLiteral("Icon"));
    if (values.contains(QStringLiteral("StartupWMClass")))
        entry.startupWmClass = values.value(QStringLiteral("StartupWMClass"));
    if (values.contains(QStringLiteral("Exec")))
        entry.exec = values.value(QStringLiteral("Exec"));
    return entry;
}
