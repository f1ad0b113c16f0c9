#include <gtest/gtest.h>

#include <memory>

#include <QFileInfo>
#include <QImage>
#include <QSignalSpy>

#include "reportapi/ReportView.h"
#include "reportapi/ReportViewLoader.h"
#include "reportapi/ReportViewPlugin.h"
#include "reports/ReportEngine.h"
#include "store/DataController.h"
#include "support/TestEnvironment.h"
#include "ui/ReportSegments.h"
#include "ui/ReportWindowController.h"

// The report pages in the real web view of the plugin, on the offscreen platform.
namespace {

const QString ImageName = QStringLiteral("<img src=x onerror=\"document.title='pwned'\">");
const QString ScriptName = QStringLiteral("</script><script>document.title='pwned'</script>");
const QString AlertName = QStringLiteral("<img src=x onerror=alert(1)>");

// Waits for the page's load-finished signal; generous, as the first page starts the engine.
bool waitForLoad(ReportWindowController& window)
{
    QSignalSpy loaded(&window, &ReportWindowController::reportLoaded);
    return loaded.wait(60000) && loaded.first().first().toBool();
}

QString textOf(ReportView& view)
{
    QString text;
    bool done = false;
    view.pageText([&](const QString& answer) {
        text = answer;
        done = true;
    });
    processEventsUntil([&] { return done; }, 30000);
    return text;
}

class ReportViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!qEnvironmentVariableIsSet("ZESTRA_REPORT_PLUGIN"))
            qputenv("ZESTRA_REPORT_PLUGIN", ZESTRA_REPORT_PLUGIN_PATH);
        if (!QFileInfo::exists(qEnvironmentVariable("ZESTRA_REPORT_PLUGIN")))
            GTEST_SKIP() << "the report viewer plugin is not built";
        QString error;
        if (!ReportViewLoader::plugin(error))
            GTEST_SKIP() << "the web engine cannot start here: " << error.toStdString();

        const Date now = Date::now();
        double start = now.beginningOfDay().timeIntervalSinceReferenceDate() + 60.0;
        for (const QString& name : {ImageName, ScriptName, AlertName}) {
            store.addTaskInfo(TaskInfoParameter(name, QStringLiteral("#fe2f68")));
            TaskParameter parameter;
            parameter.taskName = name;
            parameter.duration = 1500;
            parameter.startTime = start;
            parameter.endTime = start + 1500;
            store.addTask(parameter);
            start += 1800;
        }
        window = std::make_unique<ReportWindowController>(engine, store);
        window->resize(1000, 600);
        window->show();
        ASSERT_NE(window->reportView(), nullptr);
        ASSERT_TRUE(waitForLoad(*window)) << "the welcome page did not load";
    }

    TestEnvironment env;
    DataController store{env.dataDirectory()};
    ReportEngine engine{store};
    std::unique_ptr<ReportWindowController> window;
};

TEST_F(ReportViewTest, TaskNamesShowAsTextAndRunNothing)
{
    ReportView& view = *window->reportView();
    // The pages put the names in tables, labels, chart labels and the task report's title.
    const std::pair<int, QString> pages[] = {{ReportSegments::Today, QString()},
                                             {ReportSegments::Week, QString()},
                                             {-1, ScriptName},
                                             {-1, ImageName}};
    for (const auto& [segment, task] : pages) {
        if (segment >= 0)
            window->selectSegment(segment);
        else
            window->searchTask(task);
        ASSERT_TRUE(waitForLoad(*window)) << segment;
        const QString title = view.title();
        const QString text = textOf(view);
        EXPECT_NE(title, QStringLiteral("pwned")) << segment << task.toStdString();
        EXPECT_FALSE(title.isEmpty());
        if (segment >= 0) {
            for (const QString& name : {ImageName, ScriptName, AlertName})
                EXPECT_TRUE(text.contains(name)) << segment << ": " << name.toStdString();
        } else {
            EXPECT_TRUE(text.contains(task)) << text.toStdString();
        }
    }
    // The same script as a page of its own does run: the view is not one that runs nothing.
    view.setHtml(QStringLiteral("<html><head><title>plain</title></head><body>") + ImageName +
                     QStringLiteral("</body></html>"),
                 ReportEngine::baseURL());
    processEventsUntil([&] { return view.title() == QLatin1String("pwned"); }, 30000);
    EXPECT_EQ(view.title(), QStringLiteral("pwned"));
}

TEST_F(ReportViewTest, PrintsAndPicturesTheWholePage)
{
    window->selectSegment(ReportSegments::Week);
    ASSERT_TRUE(waitForLoad(*window));
    ReportView& view = *window->reportView();

    QByteArray pdf;
    view.printToPdf([&](const QByteArray& document) { pdf = document.isEmpty() ? "-" : document; });
    processEventsUntil([&] { return !pdf.isEmpty(); }, 60000);
    EXPECT_TRUE(pdf.startsWith("%PDF"));

    QImage image;
    bool pictured = false;
    view.pageImage([&](const QImage& picture) {
        image = picture;
        pictured = true;
    });
    processEventsUntil([&] { return pictured; }, 60000);
    ASSERT_FALSE(image.isNull());
    // The whole page, taller than the part the window shows.
    const qreal scale = view.widget()->devicePixelRatioF();
    EXPECT_GT(image.height(), view.widget()->height() * scale);
    EXPECT_GE(image.width(), (view.widget()->width() - 20) * scale);
}

} // namespace
