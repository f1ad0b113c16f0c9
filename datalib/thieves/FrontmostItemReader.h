#pragma once

#include <optional>

#include <QString>
#include <QStringList>

#include "tallycore_export.h"

#include "thieves/PageAddressMemo.h"

class BrowserScriptRunner;
class FrontmostSource;

// What holds the user's attention: an application, or the website a browser shows.
struct FrontmostItem {
    bool isApplication = true;
    // The desktop id, or the host without "www."; empty for a window of no known application.
    QString identifier;
    QString name;
    // An application's icon (theme name or file path).
    std::optional<QString> icon;
};

// One look at the front of the screen. Browsers (the given desktop ids) are asked for their
// page, when their window title changes (PageAddressMemo); one without a script counts as an
// application.
class TALLYCORE_EXPORT FrontmostItemReader {
public:
    FrontmostItemReader(FrontmostSource& source, BrowserScriptRunner& scripts,
                        QStringList browsers);

    // Absent when nothing can be said: no window in front, or a browser whose script failed
    // (then `error` says why) or answered with no URL host.
    std::optional<FrontmostItem> read(QString& error);

private:
    FrontmostSource& m_source;
    BrowserScriptRunner& m_scripts;
    QStringList m_browsers;
    PageAddressMemo m_memo;
};
