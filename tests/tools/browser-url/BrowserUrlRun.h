#pragma once

#include <QByteArray>
#include <QString>

// One run of a browser script of the build tree, by its link name (or a path), with `home` as
// $HOME and nothing else of the developer's environment.
struct BrowserUrlRun {
    BrowserUrlRun(const QString& link, const QString& home);

    bool crashed = false;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

void PrintTo(const BrowserUrlRun& run, std::ostream* os);
