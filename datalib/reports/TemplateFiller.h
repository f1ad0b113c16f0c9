#pragma once

#include <QString>
#include <QStringList>

// Fills a report template: each "%@" takes the next argument, "%%" stands for one "%".
// One pass over the template, so nothing an argument brings in is expanded again.
class TemplateFiller {
public:
    // Placeholders past the last argument are left empty.
    static QString fill(const QString& pageTemplate, const QStringList& arguments);
};
