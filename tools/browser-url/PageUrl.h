#pragma once

#include <QString>

// What a reader found: the page's URL, or why there is none.
struct PageUrl {
    QString url;
    QString error;

    static PageUrl found(const QString& url) { return {url, QString()}; }
    static PageUrl failed(const QString& error) { return {QString(), error}; }
    bool ok() const { return error.isEmpty(); }
};
