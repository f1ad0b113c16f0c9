#pragma once

#include <functional>

#include <QByteArray>
#include <QString>
#include <QUrl>

// Prints report pages without a window, for the command line.
class ReportRenderer {
public:
    virtual ~ReportRenderer() = default;

    // Loads the page and prints it as a landscape PDF. `done` gets the document, or an
    // empty array and the reason when the page could not be loaded or printed.
    virtual void
    renderPdf(const QString& html, const QUrl& baseUrl,
              std::function<void(const QByteArray& pdf, const QString& error)> done) = 0;
};
