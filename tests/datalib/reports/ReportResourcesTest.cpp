#include <QFile>
#include <QRegularExpression>
#include <QUrl>

#include "datalib/reports/ReportFixture.h"

namespace {

QString resource(const QString& name)
{
    QFile file(QStringLiteral(":/tallycore/reports/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

struct TemplateRow {
    const char* name;
    int arguments;
};

class ReportTemplateTest : public ::testing::TestWithParam<TemplateRow> {};

// Each page takes its arguments in a fixed number; any other "%" would be read as one.
TEST_P(ReportTemplateTest, ConsumesItsArgumentsAndNoOtherPercent)
{
    const TemplateRow& row = GetParam();
    const QString page = resource(QLatin1String(row.name) + QStringLiteral(".html"));
    ASSERT_FALSE(page.isEmpty()) << row.name;
    EXPECT_EQ(page.count(QStringLiteral("%@")), row.arguments);
    QString rest = page;
    rest.remove(QStringLiteral("%@")).remove(QStringLiteral("%%"));
    EXPECT_FALSE(rest.contains(QLatin1Char('%'))) << row.name;
    // Every relative reference resolves inside the resources.
    const QRegularExpression reference(QStringLiteral("(?:src|href)=\"([^\"]+)\""));
    for (auto it = reference.globalMatch(page); it.hasNext();) {
        const QString target = it.next().captured(1);
        EXPECT_TRUE(QFile::exists(QStringLiteral(":/tallycore/reports/") + target))
            << row.name << ": " << target.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, ReportTemplateTest,
                         ::testing::Values(TemplateRow{"day", 7}, TemplateRow{"workweek", 13},
                                           TemplateRow{"week", 13}, TemplateRow{"month", 13},
                                           TemplateRow{"custom", 13}, TemplateRow{"task", 6},
                                           TemplateRow{"welcome", 0}, TemplateRow{"empty", 0}),
                         [](const ::testing::TestParamInfo<TemplateRow>& info) {
                             return std::string(info.param.name);
                         });

TEST(ReportResourcesTest, ChartScriptFontsAndPicturesAreBuiltIn)
{
    EXPECT_EQ(ReportEngine::baseURL(), QUrl(QStringLiteral("qrc:/tallycore/reports/")));
    EXPECT_TRUE(resource(QStringLiteral("chart.min.js")).contains(QStringLiteral("Chart.js v3")));
    for (const char* name : {"fonts/Inter-Regular.otf", "fonts/Inter-SemiBold.otf", "goal.svg",
                             "no-goal.svg", "report.css", "report.js"})
        EXPECT_TRUE(QFile::exists(QStringLiteral(":/tallycore/reports/") + QLatin1String(name)))
            << name;
    const QString css = resource(QStringLiteral("report.css"));
    for (const char* name : {"fonts/Inter-Regular.otf", "fonts/Inter-SemiBold.otf"})
        EXPECT_TRUE(css.contains(QLatin1String(name))) << name;
}

class RealTemplatesTest : public ReportFixture {};

// Names that try to open or close elements add no element to the page.
TEST_F(RealTemplatesTest, HostileNamesAddNoElements)
{
    const QString image = QStringLiteral("<img src=x onerror=alert(1)>");
    const QString script = QStringLiteral("</script><script>alert(1)</script>");
    addNamed("2026-06-01T09:00:00", image);
    addNamed("2026-06-02T09:00:00", script);
    addNamed("2026-06-02T10:00:00", script);
    const auto tags = [](const QString& page, const char* tag) {
        return page.count(QLatin1String(tag), Qt::CaseInsensitive);
    };

    const QString week =
        engine->reportForWeek(ReportPeriod(day("2026-06-01T00:00:00"), day("2026-06-07T00:00:00")));
    const QString weekTemplate = resource(QStringLiteral("week.html"));
    for (const char* tag : {"<script", "</script"})
        EXPECT_EQ(tags(week, tag), tags(weekTemplate, tag)) << tag;
    EXPECT_EQ(tags(week, "<img src=x"), 0);
    EXPECT_TRUE(
        week.contains(QStringLiteral("1. &lt;/script&gt;&lt;script&gt;alert(1)&lt;/script&gt;")));

    const QString taskPage = engine->report(image);
    const QString taskTemplate = resource(QStringLiteral("task.html"));
    for (const char* tag : {"<script", "</script", "<img"})
        EXPECT_EQ(tags(taskPage, tag), tags(taskTemplate, tag)) << tag;
    EXPECT_EQ(tags(taskPage, "<img src=x"), 0);
    EXPECT_TRUE(taskPage.contains(QStringLiteral("<h1>&lt;img src=x onerror=alert(1)&gt;</h1>")));
}

TEST_F(RealTemplatesTest, WelcomeAndEmptyAreWholePages)
{
    EXPECT_EQ(engine->welcome(), resource(QStringLiteral("welcome.html")));
    EXPECT_EQ(engine->report(day("2026-06-01T12:00:00")), resource(QStringLiteral("empty.html")));
}

} // namespace
