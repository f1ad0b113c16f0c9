#pragma once

#include <memory>

#include "reportapi/ReportRenderer.h"

class QWebEngineView;

// Prints report pages in a view that is never put on screen, as soon as each has loaded
// (the report templates draw their charts without animation).
class HeadlessRenderer : public ReportRenderer {
public:
    HeadlessRenderer();
    ~HeadlessRenderer() override;

    void renderPdf(const QString& html, const QUrl& baseUrl,
                   std::function<void(const QByteArray& pdf, const QString& error)> done) override;

private:
    std::unique_ptr<QWebEngineView> m_view;
};
