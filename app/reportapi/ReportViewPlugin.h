#pragma once

#include <memory>

#include <QtPlugin>

#include "reportapi/ReportRenderer.h"
#include "reportapi/ReportView.h"

class QWidget;

// What the web-view plugin offers. Made only after a QApplication exists, on its thread.
class ReportViewPlugin {
public:
    virtual ~ReportViewPlugin() = default;

    virtual std::unique_ptr<ReportView> createView(QWidget* parent) = 0;
    virtual std::unique_ptr<ReportRenderer> createRenderer() = 0;
};

#define ReportViewPlugin_iid "org.zestra.Zestra.ReportViewPlugin/1"
Q_DECLARE_INTERFACE(ReportViewPlugin, ReportViewPlugin_iid)
