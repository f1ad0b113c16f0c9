#include "PdfReport.h"

#include <QEventLoop>
#include <QTimer>

#include "AtomicFile.h"
#include "reportapi/ReportViewLoader.h"
#include "reportapi/ReportViewPlugin.h"
#include "reports/ReportEngine.h"

namespace {

// A page that has not printed by then never will (its renderer is gone).
constexpr int PrintTimeoutMs = 120000;

} // namespace

bool PdfReport::write(const QString& html, const QString& file, QString& error)
{
    ReportViewPlugin* plugin = ReportViewLoader::plugin(error);
    QByteArray pdf;
    if (plugin) {
        std::unique_ptr<ReportRenderer> renderer = plugin->createRenderer();
        QEventLoop loop;
        bool finished = false;
        renderer->renderPdf(html, ReportEngine::baseURL(),
                            [&](const QByteArray& document, const QString& failure) {
                                pdf = document;
                                error = failure;
                                finished = true;
                                loop.quit();
                            });
        QTimer::singleShot(PrintTimeoutMs, &loop, &QEventLoop::quit);
        if (!finished)
            loop.exec();
        if (!finished)
            error = QStringLiteral("the report was not printed in time");
    }
    if (pdf.isEmpty()) {
        if (error.isEmpty())
            error = QStringLiteral("the report could not be printed");
        return false;
    }

    QString writeError;
    if (!AtomicFile::write(file, pdf, writeError)) {
        error = QStringLiteral("cannot write %1: %2").arg(file, writeError);
        return false;
    }
    return true;
}
