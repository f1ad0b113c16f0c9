#pragma once

#include <memory>

#include <QPointer>

#include "reportapi/ReportView.h"

class QPrinter;
class QWebEngineView;

// The report view of the plugin: a web engine view that prints and pictures its page.
class WebReportView : public ReportView {
public:
    explicit WebReportView(QWidget* parent);
    ~WebReportView() override;

    QWidget* widget() override;
    void setHtml(const QString& html, const QUrl& baseUrl) override;
    void setLoadFinishedHandler(std::function<void(bool ok)> handler) override;
    QString title() const override;
    void pageText(std::function<void(const QString& text)> done) override;
    void print(QWidget* dialogParent) override;
    void printToPdf(std::function<void(const QByteArray& pdf)> done) override;
    void pageImage(std::function<void(const QImage& image)> done) override;

private:
    // Deleted with this object, or before it by a parent widget.
    QPointer<QWebEngineView> m_view;
    std::function<void(bool ok)> m_loadFinished;
    // The printer of the print in progress; the engine prints into it after the dialog.
    std::unique_ptr<QPrinter> m_printer;
};
