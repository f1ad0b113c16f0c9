#include "WebReportView.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include "PdfPicture.h"
#include "PrintLayout.h"

namespace {

// Run apart from the page's own scripts, which cannot change what these see.
constexpr quint32 OwnWorld = QWebEngineScript::ApplicationWorld;

// Sizes the printed sheet to the whole page; answers that size in CSS pixels.
constexpr const char* WholeSheetScript = R"js(
(function () {
    var root = document.documentElement;
    // The body's own bottom: the root's scroll height is never less than the window, which
    // would leave a band of background under a short page.
    var body = document.body, width = root.scrollWidth, height = root.scrollHeight;
    if (body)
        height = Math.ceil(body.getBoundingClientRect().bottom + window.scrollY +
                           parseFloat(getComputedStyle(body).marginBottom || '0'));
    var style = document.getElementById('zestra-whole-sheet') || document.createElement('style');
    style.id = 'zestra-whole-sheet';
    style.textContent = '@page { size: ' + width + 'px ' + height + 'px; margin: 0; }';
    (document.head || root).appendChild(style);
    return [width, height];
})()
)js";

// Gives the paper back to the page's own rules.
constexpr const char* PaperSheetScript = R"js(
(function () {
    var style = document.getElementById('zestra-whole-sheet');
    if (style)
        style.remove();
})()
)js";

} // namespace

WebReportView::WebReportView(QWidget* parent)
    : m_view(new QWebEngineView(parent))
{
    m_view->setContextMenuPolicy(Qt::NoContextMenu);
    QObject::connect(m_view, &QWebEngineView::loadFinished, m_view, [this](bool ok) {
        if (m_loadFinished)
            m_loadFinished(ok);
    });
    QObject::connect(m_view, &QWebEngineView::printFinished, m_view,
                     [this](bool) { m_printer.reset(); });
}

WebReportView::~WebReportView()
{
    delete m_view.data();
}

QWidget* WebReportView::widget()
{
    return m_view;
}

void WebReportView::setHtml(const QString& html, const QUrl& baseUrl)
{
    m_view->setHtml(html, baseUrl);
}

void WebReportView::setLoadFinishedHandler(std::function<void(bool ok)> handler)
{
    m_loadFinished = std::move(handler);
}

QString WebReportView::title() const
{
    return m_view->title();
}

void WebReportView::pageText(std::function<void(const QString& text)> done)
{
    m_view->page()->runJavaScript(
        QStringLiteral("document.body ? document.body.innerText : ''"), OwnWorld,
        [done = std::move(done)](const QVariant& text) { done(text.toString()); });
}

void WebReportView::print(QWidget* dialogParent)
{
    if (m_printer)
        return;
    m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    m_printer->setPageLayout(PrintLayout::landscape());
    auto* dialog = new QPrintDialog(m_printer.get(), dialogParent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    QObject::connect(dialog, &QDialog::finished, m_view, [this](int result) {
        if (result == QDialog::Accepted)
            m_view->print(m_printer.get());
        else
            m_printer.reset();
    });
    dialog->open();
}

void WebReportView::printToPdf(std::function<void(const QByteArray& pdf)> done)
{
    m_view->page()->printToPdf(done, PrintLayout::landscape());
}

void WebReportView::pageImage(std::function<void(const QImage& image)> done)
{
    // The page printed on one sheet of its own size, then drawn: the web view itself only
    // ever draws the part that is scrolled into sight. The sheet's size is set in the page
    // too, since a report's own @page rule would otherwise choose the paper.
    const qreal scale = m_view->devicePixelRatioF();
    QPointer<QWebEngineView> view = m_view;
    m_view->page()->runJavaScript(
        QString::fromUtf8(WholeSheetScript), OwnWorld,
        [view, scale, done = std::move(done)](const QVariant& size) {
            const QVariantList sides = size.toList();
            if (!view || sides.size() != 2 || sides.at(0).toInt() <= 0 ||
                sides.at(1).toInt() <= 0) {
                done({});
                return;
            }
            const QSizeF css(sides.at(0).toInt(), sides.at(1).toInt());
            view->page()->printToPdf(
                [view, scale, done](const QByteArray& pdf) {
                    if (view)
                        view->page()->runJavaScript(QString::fromUtf8(PaperSheetScript), OwnWorld);
                    done(pdf.isEmpty() ? QImage() : PdfPicture::render(pdf, scale));
                },
                PrintLayout::wholePage(css));
        });
}
