#pragma once

#include <memory>

#include <gtest/gtest.h>

#include <QStringList>

#include "datalib/store/RecordingCloudSync.h"
#include "store/DataController.h"
#include "support/TestEnvironment.h"

// A fresh store in a private data folder, a pinned time zone, a manual clock set to a
// Wednesday noon, and a cloud that records what it is asked.
class StoreFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Seconds since 2001-01-01 UTC of a local time in the fixture's zone.
    static double at(const char* isoLocal);
    static Date day(const char* isoLocal) { return Date(at(isoLocal)); }

    TaskParameter task(const char* startLocal, int duration = 1500, int freeTime = 300,
                       std::optional<QString> name = std::nullopt) const;
    void addTaskInfo(const QString& name, const QString& color = QStringLiteral("#82cf52"));
    // Runs main-thread work that cloud answers posted (record-name assignments).
    void settle();
    QString storePath() const;

    virtual QByteArray timeZone() const { return "Europe/Madrid"; }

    std::unique_ptr<TestEnvironment> env;
    std::shared_ptr<RecordingCloudSync> cloud;
    std::unique_ptr<DataController> store;
    QStringList consoleLines;
};
