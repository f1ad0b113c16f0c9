#pragma once

#include <QStringList>

#include "thieves/BrowserScriptRunner.h"

// Browser scripts as executables named after the browser's desktop id, run directly (no
// shell, no arguments) with a time limit. The script prints the URL on standard output; a
// non-zero exit or anything on standard error is a failure.
class TALLYCORE_EXPORT BrowserScripts final : public BrowserScriptRunner {
public:
    // The folders are searched in order; the first that holds the script wins.
    explicit BrowserScripts(QStringList folders = defaultFolders(), int timeLimitMs = 2000);

    // $XDG_DATA_HOME/Zestra/browser-scripts (the user's own), then the shipped ones: beside
    // the program (<bindir>/../share/zestra/browser-scripts), then the installed folder.
    static QStringList defaultFolders();

    PageAddress pageAddress(const QString& desktopId) override;

private:
    QString scriptFor(const QString& desktopId) const;

    QStringList m_folders;
    int m_timeLimitMs;
};
