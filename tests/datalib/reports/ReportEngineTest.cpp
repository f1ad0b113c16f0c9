#include <algorithm>
#include <numeric>

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include "datalib/reports/ReportFixture.h"
#include "store/Localization.h"

namespace {

const QLocale us(QLocale::English, QLocale::UnitedStates);

QString shortTime(const char* isoLocal)
{
    return us.toString(
        Date(TestEnvironment::localTime(QString::fromLatin1(isoLocal))).toDateTime().time(),
        QLocale::ShortFormat);
}

QString goalBlock(const char* picture, const char* heading, const char* state)
{
    return QStringLiteral("<div class=\"two columns\"><img src=\"%1\" width=\"45px\" /></div>"
                          "<div class=\"ten columns\"><p><strong>%2</strong><br/><small>%3"
                          "</small></p></div>")
        .arg(QLatin1String(picture), QLatin1String(heading), QLatin1String(state));
}

QString row(int bullet, const QString& name, int tasks, const QString& duration)
{
    const QString start = bullet > 0 ? QStringLiteral("<tr><td><div class=\"bullet-%1\"></div></td>"
                                                      "<td>")
                                           .arg(bullet)
                                     : QStringLiteral("<tr><td><div>&nbsp;</div></td><td>");
    return start + name + QStringLiteral("</td><td>%1 <small>tasks</small></td><td>").arg(tasks) +
           duration + QStringLiteral("</td></tr>");
}

QString totalRow(int tasks, const QString& duration)
{
    return QStringLiteral("<tr class=\"total\"><td>&nbsp;</td><td><strong><small>TOTAL</small>"
                          "</strong></td><td><small><strong>%1 <small>tasks</small></strong>"
                          "</small></td><td>")
               .arg(tasks) +
           duration + QStringLiteral("</td></tr>");
}

// The counts of a serie "labels: [ ... ], series: [ [ 1, 0, 2 ] ]".
QList<int> counts(const QString& serie)
{
    const auto match =
        QRegularExpression(QStringLiteral("series: \\[ \\[ (.*) \\] \\]$")).match(serie);
    QList<int> values;
    if (!match.hasMatch())
        return values;
    for (const QString& value : match.captured(1).split(QStringLiteral(", "), Qt::SkipEmptyParts))
        values.append(value.toInt());
    return values;
}

class ReportEngineTest : public ReportFixture {
protected:
    void SetUp() override
    {
        ReportFixture::SetUp();
        useEchoTemplates();
    }
};

TEST_F(ReportEngineTest, DayReportFillsItsSevenArgumentsInOrder)
{
    addNamed("2026-06-09T09:00:00", QStringLiteral("Write"));
    addGeneric("2026-06-09T10:00:00", 1800);
    addNamed("2026-06-09T11:00:00", QStringLiteral("Write"), 1500);
    addNamed("2026-06-08T11:00:00", QStringLiteral("Write"));

    const QStringList args = arguments(engine->report(day("2026-06-09T15:00:00")));
    ASSERT_EQ(args.size(), 7);
    EXPECT_EQ(args[0], QStringLiteral("Tuesday, June 9, 2026"));
    EXPECT_EQ(args[1],
              QStringLiteral("Record started at <em>%1</em> and finished at <em>%2</em>")
                  .arg(shortTime("2026-06-09T09:00:00"), shortTime("2026-06-09T11:25:00")));
    EXPECT_EQ(args[2], QStringLiteral("<h3>3</h3> "));
    // No session that day.
    EXPECT_EQ(args[3], QStringLiteral("<h3>0</h3>"));
    EXPECT_EQ(args[4], goalBlock("no-goal.svg", "GOAL", "NOT ACHIEVED"));
    EXPECT_EQ(args[5],
              row(1, QStringLiteral("Write"), 2, QStringLiteral("50 <small>m</small>")) +
                  row(2, QStringLiteral("Task"), 1, QStringLiteral("30 <small>m</small>")) +
                  totalRow(3, QStringLiteral("1 <small>h</small> 20 <small>m</small>")));
    EXPECT_EQ(args[6], QStringLiteral("[2, 1]"));
}

TEST_F(ReportEngineTest, DayReportOfOneTaskTakesStartAndEndFromIt)
{
    addGeneric("2026-06-09T09:00:00");
    store->addSession(at("2026-06-09T12:00:00"), 4);
    store->addGoal(at("2026-06-09T13:00:00"), 8);
    const QStringList args = arguments(engine->report(day("2026-06-09T00:00:00")));
    ASSERT_EQ(args.size(), 7);
    EXPECT_EQ(args[1],
              QStringLiteral("Record started at <em>%1</em> and finished at <em>%2</em>")
                  .arg(shortTime("2026-06-09T09:00:00"), shortTime("2026-06-09T09:25:00")));
    EXPECT_EQ(args[3], QStringLiteral("<h3>1</h3>"));
    EXPECT_EQ(args[4], goalBlock("goal.svg", "GOAL", "ACHIEVED"));
}

TEST_F(ReportEngineTest, TodayGetsThePrefixAndYesterdayDoesNot)
{
    addGeneric("2026-06-10T09:00:00");
    addGeneric("2026-06-09T09:00:00");
    EXPECT_EQ(arguments(engine->report(day("2026-06-10T10:00:00")))[0],
              QStringLiteral("TODAY <small>Wednesday, June 10, 2026</small>"));
    EXPECT_EQ(arguments(engine->report(day("2026-06-09T10:00:00")))[0],
              QStringLiteral("Tuesday, June 9, 2026"));
}

TEST_F(ReportEngineTest, DayOrPeriodWithoutTasksGivesTheEmptyPage)
{
    addGeneric("2026-06-09T09:00:00");
    EXPECT_EQ(engine->report(day("2026-06-08T12:00:00")), QStringLiteral("empty"));
    EXPECT_EQ(
        engine->reportForWeek(ReportPeriod(day("2026-05-01T00:00:00"), day("2026-05-07T00:00:00"))),
        QStringLiteral("empty"));
    EXPECT_EQ(engine->report(QStringLiteral("Nobody")), QStringLiteral("empty"));
    EXPECT_EQ(engine->welcome(), QStringLiteral("welcome"));
}

TEST_F(ReportEngineTest, PeriodWithTwoNamesLeavesTheThirdPlaceEmpty)
{
    addNamed("2026-06-01T09:00:00", QStringLiteral("Write"));
    addNamed("2026-06-03T09:00:00", QStringLiteral("Write"));
    addNamed("2026-06-03T10:00:00", QStringLiteral("Write"));
    addGeneric("2026-06-02T09:00:00");
    store->addSession(at("2026-06-03T12:00:00"), 4);
    store->addGoal(at("2026-06-03T12:00:00"), 8);
    store->addGoal(at("2026-06-04T12:00:00"), 8);

    const ReportPeriod week(day("2026-06-01T00:00:00"), day("2026-06-07T00:00:00"));
    const QStringList args = arguments(engine->reportForWeek(week));
    ASSERT_EQ(args.size(), 13);
    EXPECT_EQ(args[0], QStringLiteral("Record started at <em>Monday, June 1, 2026</em> and "
                                      "finished at <em>Sunday, June 7, 2026</em>"));
    EXPECT_EQ(args[1], QStringLiteral("<h3>4</h3> "));
    EXPECT_EQ(args[2], QStringLiteral("<h3>1</h3>"));
    EXPECT_EQ(args[3], goalBlock("goal.svg", "2 GOAL", "ACHIEVED"));
    EXPECT_EQ(args[4],
              row(1, QStringLiteral("Write"), 3,
                  QStringLiteral("1 <small>h</small> 15 <small>m</small>")) +
                  row(2, QStringLiteral("Task"), 1, QStringLiteral("25 <small>m</small>")) +
                  totalRow(4, QStringLiteral("1 <small>h</small> 40 <small>m</small>")));
    EXPECT_EQ(args[5], QStringLiteral("1. Write"));
    EXPECT_EQ(args[6], QStringLiteral("2. Task"));
    EXPECT_EQ(args[7], QString());
    EXPECT_EQ(args[8], QStringLiteral("[3, 1]"));
    const QString labels = QStringLiteral("'6/1/26', '6/2/26', '6/3/26', '6/4/26', '6/5/26', "
                                          "'6/6/26', '6/7/26'");
    EXPECT_EQ(args[9], QStringLiteral("labels: [ ") + labels +
                           QStringLiteral(" ], series: [ [ 1, 1, 2, 0, 0, 0, 0 ] ]"));
    // The charts count catalogued tasks by their task's name, like the table.
    EXPECT_EQ(args[10], QStringLiteral("labels: [ ") + labels +
                            QStringLiteral(" ], series: [ [ 1, 0, 2, 0, 0, 0, 0 ] ]"));
    EXPECT_EQ(args[11], QStringLiteral("labels: [ ") + labels +
                            QStringLiteral(" ], series: [ [ 0, 1, 0, 0, 0, 0, 0 ] ]"));
    EXPECT_EQ(args[12], QString());
}

TEST_F(ReportEngineTest, GenericGroupComesFirstWhenItHasMoreTasks)
{
    addGeneric("2026-06-01T09:00:00");
    addGeneric("2026-06-01T10:00:00");
    addNamed("2026-06-01T11:00:00", QStringLiteral("Write"));
    // A name the catalogue does not know is stored under the generic name too.
    store->addTask(task("2026-06-01T12:00:00", 1500, 300, QStringLiteral("Unknown")));
    const QStringList args = arguments(
        engine->reportCustom(ReportPeriod(day("2026-06-01T08:00:00"), day("2026-06-01T08:00:00"))));
    ASSERT_EQ(args.size(), 13);
    EXPECT_EQ(args[5], QStringLiteral("1. Task"));
    EXPECT_EQ(args[6], QStringLiteral("2. Write"));
    EXPECT_EQ(args[8], QStringLiteral("[3, 1]"));
    EXPECT_EQ(counts(args[10]), QList<int>{3});
    EXPECT_EQ(counts(args[11]), QList<int>{1});
}

TEST_F(ReportEngineTest, PerTaskChartsMatchTheTableForEveryTopTask)
{
    const char* names[] = {"Write", "Read", "Plan"};
    int expected[3] = {0, 0, 0};
    for (int d = 1; d <= 30; ++d) {
        for (int t = 0; t < 3; ++t) {
            if ((d + t) % (t + 2) != 0)
                continue;
            const QByteArray start = QStringLiteral("2026-06-%1T%2:00:00")
                                         .arg(d, 2, 10, QLatin1Char('0'))
                                         .arg(9 + t, 2, 10, QLatin1Char('0'))
                                         .toLatin1();
            addNamed(start.constData(), QString::fromLatin1(names[t]));
            ++expected[t];
        }
    }
    const QStringList args = arguments(engine->reportForMonth(
        ReportPeriod(day("2026-06-01T00:00:00"), day("2026-06-30T00:00:00"))));
    ASSERT_EQ(args.size(), 13);
    const QStringList table = args[4].split(QStringLiteral("</tr>"), Qt::SkipEmptyParts);
    for (int place = 0; place < 3; ++place) {
        const QString label = args[5 + place];
        const QString name = label.mid(label.indexOf(QLatin1Char(' ')) + 1);
        const QList<int> perDay = counts(args[10 + place]);
        ASSERT_EQ(perDay.size(), 30) << name.toStdString();
        const int sum = std::accumulate(perDay.begin(), perDay.end(), 0);
        EXPECT_TRUE(table[place].contains(
            QStringLiteral("<td>%1</td><td>%2 <small>tasks</small>").arg(name).arg(sum)))
            << table[place].toStdString();
        const int index =
            static_cast<int>(std::find_if(std::begin(names), std::end(names),
                                          [&](const char* n) { return name == QLatin1String(n); }) -
                             std::begin(names));
        ASSERT_LT(index, 3);
        EXPECT_EQ(sum, expected[index]);
    }
}

// Long spans read a task's rows another way; the counts stay those of the table.
TEST_F(ReportEngineTest, LongPeriodChartsCountLikeTheTable)
{
    addNamed("2026-04-01T00:00:00", QStringLiteral("Write"));
    addNamed("2026-05-06T09:00:00", QStringLiteral("Write"));
    addNamed("2026-06-09T23:59:59", QStringLiteral("Write"));
    addNamed("2026-06-10T00:00:00", QStringLiteral("Write"));
    addGeneric("2026-05-06T10:00:00");
    const QStringList args = arguments(
        engine->reportCustom(ReportPeriod(day("2026-04-01T00:00:00"), day("2026-06-09T00:00:00"))));
    ASSERT_EQ(args.size(), 13);
    EXPECT_EQ(args[8], QStringLiteral("[3, 1]"));
    QList<int> write(70, 0);
    write[0] = write[35] = write[69] = 1;
    EXPECT_EQ(counts(args[10]), write);
    QList<int> generic(70, 0);
    generic[35] = 1;
    EXPECT_EQ(counts(args[11]), generic);
}

TEST_F(ReportEngineTest, TenDaysAreAllLabelledElevenEveryFifth)
{
    addGeneric("2026-06-01T09:00:00");
    const QStringList ten = arguments(
        engine->reportCustom(ReportPeriod(day("2026-06-01T00:00:00"), day("2026-06-10T00:00:00"))));
    EXPECT_EQ(ten[9], QStringLiteral("labels: [ '6/1/26', '6/2/26', '6/3/26', '6/4/26', '6/5/26', "
                                     "'6/6/26', '6/7/26', '6/8/26', '6/9/26', '6/10/26' ], "
                                     "series: [ [ 1, 0, 0, 0, 0, 0, 0, 0, 0, 0 ] ]"));
    const QStringList eleven = arguments(
        engine->reportCustom(ReportPeriod(day("2026-06-01T00:00:00"), day("2026-06-11T00:00:00"))));
    EXPECT_EQ(eleven[9],
              QStringLiteral("labels: [ '6/1/26', ' ', ' ', ' ', ' ', '6/6/26', ' ', ' ', "
                             "' ', ' ', '6/11/26' ], "
                             "series: [ [ 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0 ] ]"));
}

// The autumn change makes Sunday 25 hours long; the week still has seven days.
TEST_F(ReportEngineTest, DaylightSavingWeekCountsEachDayOnce)
{
    addNamed("2026-10-24T09:00:00", QStringLiteral("Write"));
    addNamed("2026-10-25T01:30:00", QStringLiteral("Write"));
    addNamed("2026-10-25T23:30:00", QStringLiteral("Write"));
    addNamed("2026-10-26T00:30:00", QStringLiteral("Write"));
    addGeneric("2026-10-30T23:59:00");
    const QStringList args = arguments(engine->reportForWeek(
        ReportPeriod(day("2026-10-24T00:00:00"), day("2026-10-30T00:00:00"))));
    ASSERT_EQ(args.size(), 13);
    EXPECT_EQ(args[9], QStringLiteral("labels: [ '10/24/26', '10/25/26', '10/26/26', '10/27/26', "
                                      "'10/28/26', '10/29/26', '10/30/26' ], "
                                      "series: [ [ 1, 2, 1, 0, 0, 0, 1 ] ]"));
    EXPECT_EQ(counts(args[10]), (QList<int>{1, 2, 1, 0, 0, 0, 0}));
}

TEST_F(ReportEngineTest, SpringWeekStartingLateKeepsTheShortDay)
{
    addGeneric("2026-03-29T12:00:00");
    const QStringList args = arguments(engine->reportForWeek(
        ReportPeriod(day("2026-03-28T23:30:00"), day("2026-04-03T00:00:00"))));
    ASSERT_EQ(args.size(), 13);
    EXPECT_EQ(counts(args[9]), (QList<int>{0, 1, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(args[9].startsWith(QStringLiteral("labels: [ '3/28/26', '3/29/26', '3/30/26'")));
}

TEST_F(ReportEngineTest, TaskOverThreeDaysKeepsTheEmptyMiddleDay)
{
    addNamed("2026-06-01T09:00:00", QStringLiteral("Write"), 1500);
    addNamed("2026-06-03T16:00:00", QStringLiteral("Write"), 3600);
    addGeneric("2026-06-02T09:00:00");
    const QStringList args = arguments(engine->report(QStringLiteral("Write")));
    ASSERT_EQ(args.size(), 6);
    EXPECT_EQ(args[0], QStringLiteral("Write"));
    EXPECT_EQ(args[1], QStringLiteral("Record started at <em>Monday, June 1, 2026</em> and "
                                      "finished at <em>Wednesday, June 3, 2026</em>"));
    EXPECT_EQ(args[2], QStringLiteral("2"));
    EXPECT_EQ(args[3], QStringLiteral("1 <small>h</small> 25 <small>m</small>"));
    EXPECT_EQ(args[4], row(0, QStringLiteral("Monday, June 1, 2026"), 1,
                           QStringLiteral("25 <small>m</small>")) +
                           row(0, QStringLiteral("Tuesday, June 2, 2026"), 0, QString()) +
                           row(0, QStringLiteral("Wednesday, June 3, 2026"), 1,
                               QStringLiteral("1 <small>h</small>")) +
                           totalRow(2, QStringLiteral("1 <small>h</small> 25 <small>m</small>")));
    EXPECT_EQ(args[5],
              QStringLiteral("labels: [ '6/1/26', '6/2/26', '6/3/26' ], series: [ [ 1, 0, 1 ] ]"));
}

TEST_F(ReportEngineTest, ArgumentsAreNeverExpandedAgain)
{
    const QString name = QStringLiteral("50%% done %@ and %1");
    addNamed("2026-06-01T09:00:00", name);
    const QStringList args = arguments(engine->report(name));
    ASSERT_EQ(args.size(), 6);
    EXPECT_EQ(args[0], name);
    EXPECT_EQ(args[2], QStringLiteral("1"));
}

TEST_F(ReportEngineTest, TemplateTextIsFilledInOnePass)
{
    addNamed("2026-06-01T09:00:00", QStringLiteral("%@"));
    QFile file(templates.path() + QStringLiteral("/task.html"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("<h1>%@</h1> 100%% %d %@|%@|%@|%@|%@ %@ %");
    file.close();
    EXPECT_EQ(engine->report(QStringLiteral("%@")).left(20),
              QStringLiteral("<h1>%@</h1> 100% %d "));
    EXPECT_TRUE(engine->report(QStringLiteral("%@")).endsWith(QStringLiteral("] ]  %")));
}

TEST_F(ReportEngineTest, UserTextIsEscapedForHtmlAndScript)
{
    const QString image = QStringLiteral("<img src=x onerror=alert(1)>");
    const QString script = QStringLiteral("</script><script>alert('1')</script>");
    addNamed("2026-06-01T09:00:00", image);
    addNamed("2026-06-01T10:00:00", image);
    addNamed("2026-06-01T11:00:00", script);

    const QStringList args = arguments(engine->reportForWeek(
        ReportPeriod(day("2026-06-01T00:00:00"), day("2026-06-07T00:00:00"))));
    ASSERT_EQ(args.size(), 13);
    EXPECT_TRUE(args[4].contains(QStringLiteral("<td>&lt;img src=x onerror=alert(1)&gt;</td>")));
    EXPECT_TRUE(args[4].contains(
        QStringLiteral("<td>&lt;/script&gt;&lt;script&gt;alert(&#39;1&#39;)&lt;/script&gt;</td>")));
    EXPECT_EQ(args[5], QStringLiteral("1. &lt;img src=x onerror=alert(1)&gt;"));
    EXPECT_EQ(args[6],
              QStringLiteral("2. &lt;/script&gt;&lt;script&gt;alert(&#39;1&#39;)&lt;/script&gt;"));
    for (const QString& arg : args) {
        EXPECT_FALSE(arg.contains(QStringLiteral("<img src=x"))) << arg.toStdString();
        EXPECT_FALSE(arg.contains(QStringLiteral("<script"), Qt::CaseInsensitive))
            << arg.toStdString();
        EXPECT_FALSE(arg.contains(QStringLiteral("</script"), Qt::CaseInsensitive))
            << arg.toStdString();
    }
    EXPECT_EQ(arguments(engine->report(script))[0],
              QStringLiteral("&lt;/script&gt;&lt;script&gt;alert(&#39;1&#39;)&lt;/script&gt;"));
}

TEST_F(ReportEngineTest, MissingTemplateGivesTheErrorText)
{
    addGeneric("2026-06-01T09:00:00");
    const QString error = Localization::text("REPORT_TEMPLATE_ERROR");
    ASSERT_FALSE(error.isEmpty());
    ASSERT_NE(error, QStringLiteral("REPORT_TEMPLATE_ERROR"));

    // Only the empty page is missing: a day without tasks cannot be shown either.
    ASSERT_TRUE(QFile::remove(templates.path() + QStringLiteral("/empty.html")));
    EXPECT_EQ(engine->report(day("2026-06-02T12:00:00")), error);
    EXPECT_NE(engine->report(day("2026-06-01T12:00:00")), error);

    engine->setTemplateDirectory(templates.path() + QStringLiteral("/nowhere"));
    const ReportPeriod period(day("2026-06-01T00:00:00"), day("2026-06-07T00:00:00"));
    EXPECT_EQ(engine->report(day("2026-06-01T12:00:00")), error);
    EXPECT_EQ(engine->reportForWorkweek(period), error);
    EXPECT_EQ(engine->reportForWeek(period), error);
    EXPECT_EQ(engine->reportForMonth(period), error);
    EXPECT_EQ(engine->reportCustom(period), error);
    EXPECT_EQ(engine->report(QStringLiteral("Task")), error);
    EXPECT_EQ(engine->welcome(), error);
}

TEST_F(ReportEngineTest, TemplateThatIsNotUtf8IsAnError)
{
    QFile file(templates.path() + QStringLiteral("/welcome.html"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("<p>caf\xe9</p>");
    file.close();
    EXPECT_EQ(engine->welcome(), Localization::text("REPORT_TEMPLATE_ERROR"));
}

} // namespace
