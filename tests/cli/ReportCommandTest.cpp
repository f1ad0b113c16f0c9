#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPdfDocument>

#include "CliFixture.h"

// zestra-cli report, run as a user runs it; --pdf prints through the real report viewer
// plugin on the offscreen platform.
namespace {

class ReportCommandTest : public CliFixture {
protected:
    void SetUp() override
    {
        ok({"add-task-info", "Write <b>chapter</b>", "--color", "#59b6e8"});
        // The week ending on the 29th crosses Madrid's spring change.
        ok({"add-pomodoro", "--start", "2026-03-27T10:00:00", "--duration", "1500", "--task",
            "Write <b>chapter</b>"});
        ok({"add-pomodoro", "--start", "2026-03-29T09:30:00", "--duration", "1500"});
    }

    // How many pixels of the first page, drawn at 96 dpi, are near `colour`.
    static int pixelsOf(const QString& pdf, const QColor& colour)
    {
        QPdfDocument document;
        document.load(pdf);
        const QImage page = document.render(0, (document.pagePointSize(0) * 96 / 72).toSize());
        int count = 0;
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x) {
                const QColor pixel = page.pixelColor(x, y);
                if (std::abs(pixel.red() - colour.red()) +
                        std::abs(pixel.green() - colour.green()) +
                        std::abs(pixel.blue() - colour.blue()) <
                    40)
                    ++count;
            }
        }
        return count;
    }

    QByteArray readFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(ReportCommandTest, PrintsTheHtmlOfEachReport)
{
    const CliRun week = cli({"report", "week", "--date", "2026-03-29"});
    ASSERT_EQ(week.exitCode, 0) << week.err.toStdString();
    EXPECT_TRUE(week.out.startsWith("<!DOCTYPE html")) << week.out.left(200).toStdString();
    // The name is shown as text, never as markup.
    EXPECT_TRUE(week.out.contains("Write &lt;b&gt;chapter&lt;/b&gt;"));
    EXPECT_FALSE(week.out.contains("<b>chapter"));
    EXPECT_TRUE(week.err.isEmpty()) << week.err.toStdString();

    for (const QStringList& arguments :
         {QStringList{"report", "day", "--date", "2026-03-27"},
          QStringList{"report", "workweek", "--date=2026-03-29"},
          QStringList{"report", "month", "--date", "2026-03-29"},
          QStringList{"report", "custom", "2026-03-27", "2026-03-29"},
          QStringList{"report", "task", "Write <b>chapter</b>"}}) {
        const CliRun run = cli(arguments);
        EXPECT_EQ(run.exitCode, 0) << arguments.join(u' ').toStdString() << run.err.toStdString();
        EXPECT_TRUE(run.out.contains("Write &lt;b&gt;chapter&lt;/b&gt;"))
            << arguments.join(u' ').toStdString();
    }
    // A day without work is the empty page, not the day's.
    const CliRun empty = cli({"report", "day", "--date", "2026-03-28"});
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_FALSE(empty.out.contains("chapter"));
}

TEST_F(ReportCommandTest, WrongArgumentsAreRefusedBeforeTheStoreIsRead)
{
    for (const QStringList& arguments :
         {QStringList{"report"}, QStringList{"report", "year"},
          QStringList{"report", "week", "extra"}, QStringList{"report", "custom", "2026-03-01"},
          QStringList{"report", "custom", "2026-03-10", "2026-03-01"},
          QStringList{"report", "custom", "2026-03-01", "2026-03-10", "--date", "2026-03-02"},
          QStringList{"report", "day", "--date", "2026-02-30"}, QStringList{"report", "task", "  "},
          QStringList{"report", "week", "--pdf", ""}})
        expectRefused(cli(arguments), 2, arguments);
}

TEST_F(ReportCommandTest, PdfIsPrintedByTheReportViewer)
{
    const QString pdf = env.root() + QStringLiteral("/week.pdf");
    const CliRun run = cli({"report", "week", "--date", "2026-03-29", "--pdf", pdf});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    const QByteArray document = readFile(pdf);
    EXPECT_TRUE(document.startsWith("%PDF")) << document.left(16).toStdString();
    // The charts are drawn before the page is printed: the share-of-tasks ring alone holds far
    // more of the first task colour than the table's bullet does.
    EXPECT_GT(pixelsOf(pdf, QColor(0xe4, 0x57, 0x2e)), 1000);
    // Written whole, not left as a temporary file beside it.
    EXPECT_EQ(QDir(env.root()).entryList({QStringLiteral("week.pdf*")}, QDir::Files),
              QStringList{QStringLiteral("week.pdf")});
}

TEST_F(ReportCommandTest, AFailedPdfLeavesTheEarlierFileAsItWas)
{
    const QString pdf = env.root() + QStringLiteral("/week.pdf");
    {
        QFile earlier(pdf);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier report");
    }
    // No plugin: said in one line, nothing written.
    qputenv("ZESTRA_REPORT_PLUGIN", QByteArray(env.root().toUtf8() + "/no-such-plugin.so"));
    const QStringList missing{"report", "week", "--pdf", pdf};
    const CliRun run = cli(missing);
    qunsetenv("ZESTRA_REPORT_PLUGIN");
    expectFailedInOneLine(run, missing);
    EXPECT_TRUE(run.err.contains("no-such-plugin.so")) << run.err.toStdString();
    EXPECT_EQ(readFile(pdf), QByteArray("earlier report"));

    // A folder that does not exist: printed, but it cannot be written there.
    const QStringList nowhere{"report", "week", "--pdf",
                              env.root() + QStringLiteral("/missing/week.pdf")};
    expectFailedInOneLine(cli(nowhere), nowhere);
}

} // namespace
