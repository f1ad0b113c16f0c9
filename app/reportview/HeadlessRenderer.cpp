#include "HeadlessRenderer.h"

#include <QWebEnginePage>

#include "PrintLayout.h"

HeadlessRenderer::HeadlessRenderer()
    : m_page(std::make_unique<QWebEnginePage>())
{}

HeadlessRenderer::~HeadlessRenderer() = default;

void HeadlessRenderer::renderPdf(
    const QString& html, const QUrl& baseUrl,
    std::function<void(const QByteArray& pdf, const QString& error)> done)
{
    QWebEnginePage* page = m_page.get();
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = QObject::connect(
        page, &QWebEnginePage::loadFinished, page, [page, connection, done](bool ok) {
            QObject::disconnect(*connection);
            if (!ok) {
                done({}, QStringLiteral("the report page could not be loaded"));
                return;
            }
            page->printToPdf(
                [done](const QByteArray& pdf) {
                    done(pdf, pdf.isEmpty() ? QStringLiteral("the report could not be printed")
                                            : QString());
                },
                PrintLayout::landscape());
        });
    page->setHtml(html, baseUrl);
}
