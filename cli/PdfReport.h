#pragma once

#include <QString>

// Prints a report page to a PDF file through the report viewer plugin. The file is written
// whole or not at all: a failure leaves any earlier file of that name as it was.
class PdfReport {
public:
    // False, with `error` saying why in one line, when the plugin is missing, the page
    // could not be printed or the file could not be written.
    static bool write(const QString& html, const QString& file, QString& error);
};
