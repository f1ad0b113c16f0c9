#pragma once

#include <memory>

#include <gtest/gtest.h>

#include <QByteArray>
#include <QJsonDocument>
#include <QProcess>
#include <QString>
#include <QStringList>

#include "support/TestEnvironment.h"

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs the real program in a private XDG world with Madrid's time zone, whose spring change
// (2026-03-29) the day boundaries have to survive.
class CliFixture : public ::testing::Test {
protected:
    CliRun cli(const QStringList& arguments, const QString& workingDirectory = QString());
    // Started and left running, for several at once.
    std::unique_ptr<QProcess> start(const QStringList& arguments);
    CliRun finish(QProcess& process, const QStringList& arguments);

    // Runs a command that must succeed without printing anything of its own.
    void ok(const QStringList& arguments);
    QJsonDocument json(const QStringList& arguments);
    void expectRefused(const CliRun& run, int exitCode, const QStringList& arguments);
    // Refused with exit status 1 and exactly one line on standard error.
    void expectFailedInOneLine(const CliRun& run, const QStringList& arguments);

    QString storeFile() const;

    TestEnvironment env{"Europe/Madrid"};
};
