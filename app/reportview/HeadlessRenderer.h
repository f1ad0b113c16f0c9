#pragma once

#include <memory>

#include "reportapi/ReportRenderer.h"

class QWebEnginePage;

// Prints report pages with a page that is never shown, as soon as it has loaded (the
// report templates draw their charts without animation).
class HeadlessRenderer : public ReportRenderer {
public:
    HeadlessRenderer();
    ~HeadlessRenderer() override;

    void renderPdf(const QString& html, const QUrl& baseUrl,
                   std::function<void(const QByteArray& pdf, const QString& error)> done) override;

private:
    std::unique_ptr<QWebEnginePage> m_page;
};
