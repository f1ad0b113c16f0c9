#include <gtest/gtest.h>

#include <memory>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QButtonGroup>
#include <QCompleter>
#include <QCoreApplication>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QStringListModel>
#include <QTest>
#include <QToolButton>

#include "reportapi/ReportView.h"
#include "reports/ReportEngine.h"
#include "store/DataController.h"
#include "store/Localization.h"
#include "support/TestEnvironment.h"
#include "ui/PeriodWindowController.h"
#include "ui/ReportSegments.h"
#include "ui/ReportWindowController.h"
#include "ui/ShareContent.h"
#include "ui/TaskCompletion.h"

namespace {

// Stands in for the web view: keeps the pages it is given and loads each at once.
class RecordingView : public ReportView {
public:
    explicit RecordingView(QWidget* parent)
        : m_widget(new QWidget(parent))
    {}
    QWidget* widget() override { return m_widget; }
    void setHtml(const QString& html, const QUrl& baseUrl) override
    {
        pages.append(html);
        base = baseUrl;
        if (m_loaded)
            m_loaded(true);
    }
    void setLoadFinishedHandler(std::function<void(bool)> handler) override
    {
        m_loaded = std::move(handler);
    }
    QString title() const override { return {}; }
    void pageText(std::function<void(const QString&)> done) override { done(pages.value(0)); }
    void print(QWidget*) override {}
    void printToPdf(std::function<void(const QByteArray&)> done) override { done({}); }
    void pageImage(std::function<void(const QImage&)> done) override { done({}); }

    QStringList pages;
    QUrl base;

private:
    QWidget* m_widget;
    std::function<void(bool)> m_loaded;
};

class ReportWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const QString& name :
             {QStringLiteral("Write"), QStringLiteral("Read"), QStringLiteral("Wrap")})
            store.addTaskInfo(TaskInfoParameter(name, QStringLiteral("#59b6e8")));
        // Work on the past day the logbook hands over, and on days of the month before it.
        for (int back : {0, 0, 1, 3, 6, 12, 25, 40})
            work(back % 2 ? QStringLiteral("Read") : QStringLiteral("Write"),
                 pastDay.addingTimeInterval(-back * Date::dayInterval - 2 * 3600.0));
        window = std::make_unique<ReportWindowController>(
            engine, store, [this](QWidget* parent, QString&) {
                auto made = std::make_unique<RecordingView>(parent);
                view = made.get();
                return made;
            });
    }

    // Shown and active, so that its keyboard shortcuts work.
    void showActive(std::optional<Date> day)
    {
        window->showReport(day);
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    void work(const QString& name, Date start)
    {
        TaskParameter parameter;
        parameter.taskName = name;
        parameter.duration = 1500;
        parameter.startTime = start.timeIntervalSinceReferenceDate();
        parameter.endTime = start.timeIntervalSinceReferenceDate() + 1500;
        store.addTask(parameter);
    }

    QAbstractButton* segmentButton(int segment) const
    {
        return window->segmentedControl->button(segment);
    }

    TestEnvironment env;
    DataController store{env.dataDirectory()};
    ReportEngine engine{store, QLocale(QLocale::English, QLocale::UnitedKingdom)};
    // A Thursday afternoon well before the tests run.
    const Date pastDay = Date(TestEnvironment::localTime(QStringLiteral("2026-02-12T17:30:00")));
    std::unique_ptr<ReportWindowController> window;
    RecordingView* view = nullptr;
};

TEST_F(ReportWindowTest, OpensOnTheWelcomePageWithTheWebViewMadeOnFirstShow)
{
    EXPECT_EQ(view, nullptr);
    window->show();
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->pages.size(), 1);
    EXPECT_TRUE(view->pages.first() == engine.welcome());
    EXPECT_EQ(view->base, ReportEngine::baseURL());
    EXPECT_EQ(window->selectedSegment(), -1);
    for (int segment = 0; segment < ReportSegments::Count; ++segment)
        EXPECT_FALSE(segmentButton(segment)->isChecked());
}

TEST_F(ReportWindowTest, APastDayFromTheLogbookIsTheDayOfEverySegment)
{
    showActive(pastDay);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(window->selectedSegment(), ReportSegments::Today);
    EXPECT_TRUE(segmentButton(ReportSegments::Today)->isChecked());
    EXPECT_TRUE(view->pages.last() == engine.report(pastDay));
    EXPECT_FALSE(view->pages.last() == engine.report(Date::now()));

    const std::pair<int, QString> periods[] = {
        {ReportSegments::Workweek,
         engine.reportForWorkweek(ReportPeriod(pastDay.workweekAgo(), pastDay))},
        {ReportSegments::Week, engine.reportForWeek(ReportPeriod(pastDay.weekAgo(), pastDay))},
        {ReportSegments::Month, engine.reportForMonth(ReportPeriod(pastDay.monthAgo(), pastDay))}};
    for (const auto& [segment, page] : periods) {
        // Ctrl+2 .. Ctrl+4, as a user chooses them.
        QTest::keyClick(window.get(), static_cast<Qt::Key>(Qt::Key_1 + segment),
                        Qt::ControlModifier);
        EXPECT_EQ(window->selectedSegment(), segment);
        EXPECT_TRUE(view->pages.last() == page) << segment;
        EXPECT_EQ(ReportSegments::period(segment, pastDay).endDate(), pastDay);
    }
    // The periods are not all the same page, so the comparisons above tell them apart.
    EXPECT_FALSE(periods[0].second == periods[2].second);

    // Opened again from the panel, the shown segment follows to today.
    window->showReport(std::nullopt);
    EXPECT_TRUE(view->pages.last() ==
                engine.reportForMonth(ReportSegments::period(ReportSegments::Month, Date::now())));
}

TEST_F(ReportWindowTest, TypingOffersTheTaskNamesThatBeginWithTheTextInTheStoresOrder)
{
    const QStringList names = *store.taskNames();
    QStringList expected;
    for (const QString& name : names) {
        if (name == QLatin1String("Write") || name == QLatin1String("Wrap"))
            expected.append(name);
    }
    EXPECT_EQ(TaskCompletion::completions(names, QStringLiteral("Wr")), expected);
    EXPECT_EQ(TaskCompletion::completions(names, QStringLiteral("wr")), QStringList());
    EXPECT_EQ(TaskCompletion::completions(names, QString()), QStringList());

    window->show();
    window->searchTaskField->setFocus();
    QTest::keyClicks(window->searchTaskField, QStringLiteral("Wr"));
    const QList<QCompleter*> completers = window->findChildren<QCompleter*>();
    ASSERT_EQ(completers.size(), 1);
    auto* model = qobject_cast<QStringListModel*>(completers.first()->model());
    ASSERT_NE(model, nullptr);
    EXPECT_TRUE(completers.first()->popup()->isVisible());
    EXPECT_EQ(model->stringList(), expected);

    QTest::keyClick(window->searchTaskField, Qt::Key_Backspace);
    QTest::keyClick(window->searchTaskField, Qt::Key_Backspace);
    EXPECT_EQ(model->stringList(), QStringList());

    window->searchTaskField->setText(QStringLiteral("Write"));
    QTest::keyClick(window->searchTaskField, Qt::Key_Return);
    EXPECT_TRUE(view->pages.last() == engine.report(QStringLiteral("Write")));
    EXPECT_EQ(window->selectedSegment(), -1);
}

TEST_F(ReportWindowTest, ClosingTheCustomSheetKeepsTheReportAndItsSegment)
{
    showActive(pastDay);
    QTest::keyClick(window.get(), Qt::Key_3, Qt::ControlModifier);
    const QString week = view->pages.last();
    const qsizetype loads = view->pages.size();

    QTest::keyClick(window.get(), Qt::Key_5, Qt::ControlModifier);
    QPointer<PeriodWindowController> sheet = window->periodWindowController;
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);
    EXPECT_EQ(sheet->labelTitle->text(), Localization::text("PERIOD_TITLE"));
    QTest::mouseClick(sheet->buttonClose, Qt::LeftButton);

    EXPECT_FALSE(window->periodWindowController);
    EXPECT_EQ(view->pages.size(), loads);
    EXPECT_TRUE(view->pages.last() == week);
    EXPECT_EQ(window->selectedSegment(), ReportSegments::Week);
    EXPECT_TRUE(segmentButton(ReportSegments::Week)->isChecked());
    EXPECT_FALSE(segmentButton(ReportSegments::Custom)->isChecked());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(sheet.isNull()) << "the sheet lives only while it is shown";
}

TEST_F(ReportWindowTest, TheCustomSheetShowsThePeriodOfItsTwoDays)
{
    window->showReport(pastDay);
    window->selectSegment(ReportSegments::Custom);
    PeriodWindowController* sheet = window->periodWindowController;
    ASSERT_NE(sheet, nullptr);
    // It starts on the week that ends on the window's day.
    EXPECT_EQ(sheet->pickerEnd->date(), pastDay.toDateTime().date());
    sheet->pickerStart->setDate(QDate(2026, 1, 20));
    sheet->pickerEnd->setDate(QDate(2026, 2, 3));
    QTest::mouseClick(sheet->buttonShow, Qt::LeftButton);

    const Date start = Date::fromDateTime(QDate(2026, 1, 20).startOfDay());
    const Date end = Date::fromDateTime(QDate(2026, 2, 3).startOfDay());
    EXPECT_TRUE(view->pages.last() == engine.reportCustom(ReportPeriod(start, end)));
    EXPECT_EQ(window->selectedSegment(), ReportSegments::Custom);
    EXPECT_FALSE(window->periodWindowController);
}

TEST(ShareContent, TheMessageNamesThePeriodAndAnInvalidLinkIsLeftOut)
{
    const QString format = QStringLiteral("My %@ with Zestra");
    const ShareContent week(format, QStringLiteral("week"), QStringLiteral("https://zestra.org"));
    EXPECT_EQ(week.message(), QStringLiteral("My week with Zestra"));
    ASSERT_TRUE(week.link());
    EXPECT_EQ(week.clipboardText(), QStringLiteral("My week with Zestra\nhttps://zestra.org"));

    // The custom period has no word, and leaves no double blank.
    const ShareContent custom(format, QString(), QStringLiteral("https://zestra.org"));
    EXPECT_EQ(custom.message(), QStringLiteral("My with Zestra"));

    for (const QString& invalid :
         {QStringLiteral("not a link"), QStringLiteral("SHARE_URL"), QString(),
          QStringLiteral("https://"), QStringLiteral("javascript:alert(1)")}) {
        const ShareContent content(format, QStringLiteral("day"), invalid);
        EXPECT_FALSE(content.link()) << invalid.toStdString();
        EXPECT_EQ(content.clipboardText(), QStringLiteral("My day with Zestra"));
    }
    // A word that holds the placeholder is not expanded again.
    EXPECT_EQ(ShareContent(format, QStringLiteral("%@"), QString()).message(),
              QStringLiteral("My %@ with Zestra"));

    EXPECT_TRUE(ShareContent::forSegment(ReportSegments::Month)
                    .message()
                    .contains(Localization::text("SHARE_PERIOD_MONTH")));
}

TEST_F(ReportWindowTest, ClosingDropsTheWebViewAndShowingAgainKeepsTheReport)
{
    window->showReport(pastDay);
    window->selectSegment(ReportSegments::Month);
    const QString month = view->pages.last();
    window->close();
    EXPECT_EQ(window->reportView(), nullptr);

    view = nullptr;
    window->show();
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->pages.size(), 1);
    EXPECT_TRUE(view->pages.first() == month);
    EXPECT_EQ(window->selectedSegment(), ReportSegments::Month);
}

TEST_F(ReportWindowTest, TheShareMenuOffersPdfPictureAndMessage)
{
    window->showReport(pastDay);
    emit window->shareMenu->aboutToShow();
    const QList<QAction*> actions = window->shareMenu->actions();
    ASSERT_EQ(actions.size(), 3);
    EXPECT_EQ(actions.at(0)->text(), Localization::text("CHART_SHARE_SAVE_PDF"));
    EXPECT_EQ(actions.at(1)->text(), Localization::text("CHART_SHARE_COPY_PICTURE"));
    EXPECT_EQ(actions.at(2)->text(), Localization::text("CHART_SHARE_COPY_MESSAGE_LINK"));
}

TEST(ReportWindowWithoutPlugin, SaysSoInPlaceOfTheView)
{
    TestEnvironment env;
    qputenv("ZESTRA_REPORT_PLUGIN", QByteArray(env.root().toUtf8() + "/missing.so"));
    DataController store(env.dataDirectory());
    ReportEngine engine(store);
    ReportWindowController window(engine, store);
    window.show();
    qunsetenv("ZESTRA_REPORT_PLUGIN");

    EXPECT_EQ(window.reportView(), nullptr);
    const QList<QLabel*> labels = window.webContainer->findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 1);
    EXPECT_TRUE(labels.first()->text().startsWith(Localization::text("REPORT_VIEWER_MISSING")));
    EXPECT_TRUE(labels.first()->text().contains(QStringLiteral("missing.so")));
    EXPECT_FALSE(window.buttonPrint->isEnabled());
    EXPECT_FALSE(window.buttonShare->isEnabled());
    // Choosing a report does not fail for want of a view.
    window.selectSegment(ReportSegments::Week);
    EXPECT_EQ(window.selectedSegment(), ReportSegments::Week);
}

} // namespace
