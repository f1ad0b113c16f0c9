#pragma once

#include <optional>

#include <QString>

#include "tallycore_export.h"

// An installed application as its desktop entry describes it: the file <id>.desktop in
// the "applications" folder of $XDG_DATA_HOME or of one of $XDG_DATA_DIRS, the first found.
class TALLYCORE_EXPORT DesktopEntry {
public:
    QString id;
    // Localised for the system's language when the entry has it.
    QString name;
    std::optional<QString> icon;
    QString path;
    // What finds the entry of a window: its StartupWMClass, and the program its Exec runs.
    std::optional<QString> startupWmClass;
    std::optional<QString> exec;

    // `desktopId` may carry the ".desktop" ending. Absent, with `error` saying why, when the
    // id is no desktop id, no entry is installed under it, or the entry has no name.
    static std::optional<DesktopEntry> find(const QString& desktopId, QString& error);
    // Reads one entry file.
    static std::optional<DesktopEntry> read(const QString& id, const QString& path, QString& error);
};
