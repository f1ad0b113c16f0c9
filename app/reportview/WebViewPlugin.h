#pragma once

#include <QObject>

#include "reportapi/ReportViewPlugin.h"

// The plugin's entry point: makes report views and headless renderers.
class WebViewPlugin : public QObject, public ReportViewPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID ReportViewPlugin_iid)
    Q_INTERFACES(ReportViewPlugin)
public:
    std::unique_ptr<ReportView> createView(QWidget* parent) override;
    std::unique_ptr<ReportRenderer> createRenderer() override;
};
