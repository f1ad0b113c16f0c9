#pragma once

#include <QString>
#include <QStringList>

class ReportViewPlugin;

// Finds and loads the web-view plugin once per process; it stays loaded, since the web
// engine cannot be unloaded. Looks in $ZESTRA_REPORT_PLUGIN (a file) when it is set, else
// in the plugin folder beside the program, which the build tree and an installation share.
class ReportViewLoader {
public:
    // The loaded plugin, or null with `error` saying why in one line.
    static ReportViewPlugin* plugin(QString& error);
    // The files tried, in order.
    static QStringList candidates();
    static QString pluginFileName();
};
