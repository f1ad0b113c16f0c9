#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ostream>

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QString>

#include "SmallDisk.h"
#include "datalib/store/StoreFixture.h"

namespace {

template <typename Row> std::string rowName(const ::testing::TestParamInfo<Row>& info)
{
    return info.param.name;
}

QString startText(const char* isoLocal)
{
    return QLocale::system().toString(
        QDateTime::fromString(QString::fromLatin1(isoLocal), Qt::ISODate), QLocale::ShortFormat);
}

const QString header = QStringLiteral("Task;Start;Duration (seconds)");

class CsvExportTest : public StoreFixture {
protected:
    QString csvPath() const { return env->root() + QStringLiteral("/day.csv"); }

    static QByteArray contents(const QString& path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return QByteArray("<unreadable>");
        return file.readAll();
    }
};

TEST_F(CsvExportTest, WritesOneLinePerPomodoroOfTheDay)
{
    addTaskInfo(QStringLiteral("Write"));
    // A catalogued task that bears the generic name must not be mistaken for the rows
    // stored under that name.
    addTaskInfo(QStringLiteral("Task"));
    store->addTask(task("2026-06-09T23:59:59", 1500, 300, QStringLiteral("Write")));
    store->addTask(task("2026-06-10T00:00:00", 1500, 300, QStringLiteral("Write")));
    store->addTask(task("2026-06-10T09:30:00", 1200, 300));
    store->addTask(task("2026-06-10T11:00:00", 900, 300, QStringLiteral("Not catalogued")));
    store->addTask(task("2026-06-10T23:59:59", 60, 0, QStringLiteral("Task")));
    store->addTask(task("2026-06-11T00:00:00", 1500, 300, QStringLiteral("Write")));

    ASSERT_TRUE(store->exportToCSV(csvPath(), day("2026-06-10T12:00:00")));

    const QString expected =
        header + QStringLiteral("\nWrite;") + startText("2026-06-10T00:00:00") +
        QStringLiteral(";1500\nGeneric Task;") + startText("2026-06-10T09:30:00") +
        QStringLiteral(";1200\nGeneric Task;") + startText("2026-06-10T11:00:00") +
        QStringLiteral(";900\nTask;") + startText("2026-06-10T23:59:59") + QStringLiteral(";60");
    EXPECT_EQ(QString::fromUtf8(contents(csvPath())), expected);
}

TEST_F(CsvExportTest, DayWithoutPomodorosWritesTheHeaderOnly)
{
    store->addTask(task("2026-06-10T09:00:00"));

    ASSERT_TRUE(store->exportToCSV(csvPath(), day("2026-06-12T12:00:00")));

    EXPECT_EQ(contents(csvPath()), header.toUtf8());
}

struct QuotingRow {
    const char* name;
    const char* taskName;
    const char* field;
};

void PrintTo(const QuotingRow& row, std::ostream* os)
{
    *os << row.name;
}

class CsvQuotingTest : public CsvExportTest, public ::testing::WithParamInterface<QuotingRow> {};

TEST_P(CsvQuotingTest, QuotesOnlyNamesThatNeedIt)
{
    const QString name = QString::fromUtf8(GetParam().taskName);
    addTaskInfo(name);
    store->addTask(task("2026-06-10T09:00:00", 1500, 300, name));

    ASSERT_TRUE(store->exportToCSV(csvPath(), day("2026-06-10T12:00:00")));

    const QString expected = header + QLatin1Char('\n') + QString::fromUtf8(GetParam().field) +
                             QLatin1Char(';') + startText("2026-06-10T09:00:00") +
                             QStringLiteral(";1500");
    EXPECT_EQ(QString::fromUtf8(contents(csvPath())), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CsvQuotingTest,
    ::testing::Values(QuotingRow{"Plain", "Write", "Write"},
                      QuotingRow{"Comma", "Read, then write", "Read, then write"},
                      QuotingRow{"SingleQuote", "Don't stop", "Don't stop"},
                      QuotingRow{"Separator", "Read;Write", "\"Read;Write\""},
                      QuotingRow{"QuoteAndSeparator", "Say \"hi\"; now", "\"Say \"\"hi\"\"; now\""},
                      QuotingRow{"QuoteOnly", "\"Quoted\"", "\"\"\"Quoted\"\"\""},
                      QuotingRow{"LineFeed", "Two\nlines", "\"Two\nlines\""},
                      QuotingRow{"CarriageReturn", "Two\rlines", "\"Two\rlines\""},
                      QuotingRow{"NonAscii", "Café: réviser", "Café: réviser"}),
    rowName<QuotingRow>);

TEST_F(CsvExportTest, PipeIsFedNotReplaced)
{
    store->addTask(task("2026-06-10T09:00:00", 1500));
    const QString fifo = env->root() + QStringLiteral("/pipe");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // The reader is there first, so the export's open does not wait for one.
    const int reader = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);

    EXPECT_TRUE(store->exportToCSV(fifo, day("2026-06-10T12:00:00")));
    QByteArray received(4096, '\0');
    const ssize_t size = ::read(reader, received.data(), static_cast<size_t>(received.size()));
    ::close(reader);
    received.resize(size > 0 ? size : 0);
    EXPECT_TRUE(received.startsWith(header.toUtf8())) << received.toStdString();
    EXPECT_TRUE(received.endsWith(";1500")) << received.toStdString();
    EXPECT_FALSE(QFileInfo(fifo).isFile()) << "the pipe was replaced by a file";
    EXPECT_EQ(store->csvText(day("2026-06-10T12:00:00"))->toUtf8(), received);
}

TEST_F(CsvExportTest, SecondExportReplacesTheFirstWhole)
{
    for (const char* t : {"2026-06-10T09:00:00", "2026-06-10T10:00:00", "2026-06-10T11:00:00"})
        store->addTask(task(t));
    ASSERT_TRUE(store->exportToCSV(csvPath(), day("2026-06-10T12:00:00")));
    ASSERT_GT(contents(csvPath()).size(), header.toUtf8().size());

    ASSERT_TRUE(store->exportToCSV(csvPath(), day("2026-06-11T12:00:00")));

    EXPECT_EQ(contents(csvPath()), header.toUtf8());
    // Nothing of the atomic write is left behind next to the file.
    EXPECT_EQ(QDir(env->root()).entryList({QStringLiteral("day.csv*")}, QDir::Files),
              QStringList{"day.csv"});
}

TEST_F(CsvExportTest, AFullDiskKeepsThePreviousExport)
{
    const QString folder = env->root() + QStringLiteral("/small");
    SmallDisk disk(folder, 1);
    if (!disk.available())
        GTEST_SKIP() << "cannot mount a small disk here";
    const QString path = folder + QStringLiteral("/day.csv");
    store->addTask(task("2026-06-10T09:00:00"));
    ASSERT_TRUE(store->exportToCSV(path, day("2026-06-10T12:00:00")));
    const QByteArray before = contents(path);
    ASSERT_TRUE(disk.fill());
    for (const char* t : {"2026-06-10T10:00:00", "2026-06-10T11:00:00"})
        store->addTask(task(t));

    EXPECT_FALSE(store->exportToCSV(path, day("2026-06-10T12:00:00")));
    EXPECT_EQ(contents(path), before);
}

struct FailedWriteRow {
    const char* name;
    // The target, relative to the test's private folder.
    const char* target;
    bool needsPermissions;
};

void PrintTo(const FailedWriteRow& row, std::ostream* os)
{
    *os << row.name;
}

class CsvFailedWriteTest : public CsvExportTest,
                           public ::testing::WithParamInterface<FailedWriteRow> {};

TEST_P(CsvFailedWriteTest, AnswersFalseAndSaysWhy)
{
    if (GetParam().needsPermissions && geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop root";
    const QString root = env->root();
    QFile plain(root + QStringLiteral("/plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    ASSERT_TRUE(QDir(root).mkdir(QStringLiteral("locked")));
    ASSERT_TRUE(QFile::setPermissions(root + QStringLiteral("/locked"),
                                      QFile::ReadOwner | QFile::ExeOwner));
    store->addTask(task("2026-06-10T09:00:00"));
    consoleLines.clear();

    const QString target = root + QLatin1Char('/') + QString::fromLatin1(GetParam().target);
    EXPECT_FALSE(store->exportToCSV(target, day("2026-06-10T12:00:00")));

    EXPECT_FALSE(QFile::exists(target));
    ASSERT_EQ(consoleLines.size(), 1) << consoleLines.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(consoleLines.first().startsWith(QStringLiteral("No se puedo guardar el archivo. ")))
        << consoleLines.first().toStdString();
    QFile::setPermissions(root + QStringLiteral("/locked"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CsvFailedWriteTest,
    ::testing::Values(FailedWriteRow{"MissingFolder", "missing/day.csv", false},
                      FailedWriteRow{"ParentIsAFile", "plain/day.csv", false},
                      FailedWriteRow{"ReadOnlyFolder", "locked/day.csv", true}),
    rowName<FailedWriteRow>);

} // namespace
