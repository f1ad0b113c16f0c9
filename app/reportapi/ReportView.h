#pragma once

#include <functional>

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QUrl>

class QWidget;

// A web view that shows one report page. The plugin that holds the web engine makes it, so
// that the program itself never links the engine. Callbacks run on the main thread.
class ReportView {
public:
    virtual ~ReportView() = default;

    // The widget to put in a layout; owned by the view.
    virtual QWidget* widget() = 0;

    // Relative references of the page resolve against `baseUrl`.
    virtual void setHtml(const QString& html, const QUrl& baseUrl) = 0;
    // Called once for every setHtml() when the page has loaded (or failed to).
    virtual void setLoadFinishedHandler(std::function<void(bool ok)> handler) = 0;
    virtual QString title() const = 0;
    // The text of the page as a reader sees it (the body's inner text).
    virtual void pageText(std::function<void(const QString& text)> done) = 0;

    // The print dialog, set to landscape; prints the page when the user accepts it.
    virtual void print(QWidget* dialogParent) = 0;
    // The page as a landscape PDF; empty when it could not be made.
    virtual void printToPdf(std::function<void(const QByteArray& pdf)> done) = 0;
    // The whole page as one picture, not only the part the window shows; null on failure.
    virtual void pageImage(std::function<void(const QImage& image)> done) = 0;
};
