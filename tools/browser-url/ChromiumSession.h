#pragma once

#include <QHash>
#include <QList>
#include <QMap>

#include "PageUrl.h"
#include "SnssFile.h"

// The page of the active window's selected tab, replayed from a session's commands. Chromium
// appends them a moment after each change (about 2.5 seconds), so the answer can be that
// much behind the screen.
class ChromiumSession {
public:
    static PageUrl activePage(const QList<SnssFile::Command>& commands);

private:
    struct Tab {
        qint32 window = 0;
        qint32 position = -1;
        qint32 selectedNavigation = -1;
        QMap<qint32, QString> navigations;
    };
    struct Window {
        qint32 selectedPosition = -1;
        qint64 order = 0;
    };

    // False with `error` set for a command whose payload is too short for its id.
    bool apply(const SnssFile::Command& command, QString& error);
    bool updateNavigation(const QByteArray& payload);
    PageUrl answer() const;

    QHash<qint32, Tab> m_tabs;
    QHash<qint32, Window> m_windows;
    std::optional<qint32> m_activeWindow;
    qint64 m_nextOrder = 0;
};
