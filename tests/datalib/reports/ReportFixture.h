#pragma once

#include <memory>

#include <QStringList>
#include <QTemporaryDir>

#include "datalib/store/StoreFixture.h"
#include "reports/ReportEngine.h"

// A store in a temporary folder and an engine over it in US English. With useEchoTemplates()
// every template just lists its arguments, so a test reads each fragment on its own.
class ReportFixture : public StoreFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    void useEchoTemplates();
    // The arguments an echo template was filled with.
    static QStringList arguments(const QString& page);

    void addNamed(const char* startLocal, const QString& name, int duration = 1500);
    void addGeneric(const char* startLocal, int duration = 1500);

    std::unique_ptr<ReportEngine> engine;
    QTemporaryDir templates;
};
