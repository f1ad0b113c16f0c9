#include "HeadlessRenderer.h"

#include <QWebEnginePage>
#include <QWebEngineView>

#include "PrintLayout.h"

namespace {

// The width of the printed area of a landscape sheet in CSS pixels, so the page is laid out
// on screen as it will be printed.
constexpr qreal CssPixelsPerMillimetre = 96.0 / 25.4;

} // namespace

HeadlessRenderer::HeadlessRenderer()
    : m_view(std::make_unique<QWebEngineView>())
{
    // A page that is not shown is neither laid out at a size nor drawn, and its charts, which
    // size themselves to their boxes, would print empty.
    const QRectF paper = PrintLayout::landscape().paintRect(QPageLayout::Millimeter);
    m_view->setAttribute(Qt::WA_DontShowOnScreen);
    m_view->resize(qRound(paper.width() * CssPixelsPerMillimetre),
                   qRound(paper.height() * CssPixelsPerMillimetre));
    m_view->show();
}

HeadlessRenderer::~HeadlessRenderer() = default;

void HeadlessRenderer::renderPdf(
    const QString& html, const QUrl& baseUrl,
    std::function<void(const QByteArray& pdf, const QString& error)> done)
{
    QWebEnginePage* page = m_view->page();
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
