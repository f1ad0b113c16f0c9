#pragma once

#include <QByteArray>

#include "PageUrl.h"

// The page of Firefox's selected window and tab, from the session JSON it keeps in
// recovery.jsonlz4. That file is rewritten every 15 seconds by default
// (browser.sessionstore.interval), so the answer can be that much behind the screen.
class FirefoxSession {
public:
    static PageUrl selectedPage(const QByteArray& json);
};
