#pragma once

#include <QString>

#include "tallycore_export.h"

// What a browser's script said about the page in its front window.
struct PageAddress {
    enum class Outcome {
        // `text` is the page's URL as the script printed it.
        address,
        // The script failed; `text` says how.
        error,
        // There is no script for that browser: it is recorded like any application.
        noScript,
    };
    Outcome outcome = Outcome::noScript;
    QString text;
};

// Asks a web browser, by its desktop id, which page it shows.
class TALLYCORE_EXPORT BrowserScriptRunner {
public:
    virtual ~BrowserScriptRunner();
    virtual PageAddress pageAddress(const QString& desktopId) = 0;
};
