#include "CliFixture.h"

CliRun CliFixture::cli(const QStringList& arguments, const QString& workingDirectory)
{
    QProcess process;
    process.setWorkingDirectory(workingDirectory);
    process.start(QStringLiteral(ZESTRA_CLI_PATH), arguments);
    return finish(process, arguments);
}

std::unique_ptr<QProcess> CliFixture::start(const QStringList& arguments)
{
    auto process = std::make_unique<QProcess>();
    process->start(QStringLiteral(ZESTRA_CLI_PATH), arguments);
    return process;
}

CliRun CliFixture::finish(QProcess& process, const QStringList& arguments)
{
    CliRun run;
    if (!process.waitForFinished(60000)) {
        ADD_FAILURE() << "zestra-cli did not finish: " << arguments.join(u' ').toStdString();
        process.kill();
        process.waitForFinished();
        return run;
    }
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << "crashed";
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

void CliFixture::ok(const QStringList& arguments)
{
    const CliRun run = cli(arguments);
    ASSERT_EQ(run.exitCode, 0) << arguments.join(u' ').toStdString() << "\n"
                               << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
}

QJsonDocument CliFixture::json(const QStringList& arguments)
{
    const CliRun run = cli(arguments);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(run.out, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << run.out.toStdString();
    return document;
}

void CliFixture::expectRefused(const CliRun& run, int exitCode, const QStringList& arguments)
{
    const std::string what = arguments.join(u' ').toStdString();
    EXPECT_EQ(run.exitCode, exitCode) << what << ": " << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty()) << what << ": " << run.out.toStdString();
    EXPECT_FALSE(run.err.trimmed().isEmpty()) << what;
}

void CliFixture::expectFailedInOneLine(const CliRun& run, const QStringList& arguments)
{
    expectRefused(run, 1, arguments);
    EXPECT_EQ(run.err.count('\n'), 1) << arguments.join(u' ').toStdString() << ":\n"
                                      << run.err.toStdString();
    EXPECT_TRUE(run.err.startsWith("zestra-cli: ")) << run.err.toStdString();
}

QString CliFixture::storeFile() const
{
    return env.dataDirectory() + QStringLiteral("/Pomodoro.DataModel");
}
