#include "WebViewPlugin.h"

#include "HeadlessRenderer.h"
#include "WebReportView.h"

std::unique_ptr<ReportView> WebViewPlugin::createView(QWidget* parent)
{
    return std::make_unique<WebReportView>(parent);
}

std::unique_ptr<ReportRenderer> WebViewPlugin::createRenderer()
{
    return std::make_unique<HeadlessRenderer>();
}
