#include <memory>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QPaintEvent>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "Console.h"
#include "NotificationCenter.h"
#include "UserNotificationCenter.h"
#include "dispatch/SerialQueue.h"
#include "services/Handoff.h"
#include "settings/Settings.h"
#include "store/DataController.h"
#include "store/Localization.h"
#include "support/ManualClock.h"
#include "support/TestEnvironment.h"
#include "timer/ActivityManager.h"
#include "ui/ActivitySettingsViewController.h"
#include "ui/ActivityView.h"
#include "ui/ActivityViewController.h"
#include "ui/MessageBox.h"
#include "ui/SessionView.h"
#include "ui/StatusItem.h"
#include "ui/TimeText.h"

namespace {

class SilentNotificationCenter : public UserNotificationCenter {
public:
    void deliver(const UserNotification&) override {}
};

class TaskListRequests : public ContainerTransitionDelegate {
public:
    void showTaskList() override { ++taskListShown; }
    void showTaskCreator() override {}
    void showTaskCreator(const QString&) override {}
    void showActivity() override {}
    int taskListShown = 0;
};

QString text(const char* key)
{
    return Localization::text(key);
}

// The panel over a private store, with a clock that moves only when told and sounds and
// alerts kept instead of played or shown.
class ActivityPanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        env = std::make_unique<TestEnvironment>("Europe/Madrid");
        env->clock().setNow(TestEnvironment::localTime(QStringLiteral("2026-06-10T09:00:00")));
        Console::setSink([](const QString&) {});
        Settings::shared().registerApplicationDefaults();
        UserNotificationCenter::setShared(&notifications);
        store = std::make_unique<DataController>(env->dataDirectory());
        manager = std::make_unique<ActivityManager>(
            *store, [this](const QString& name) { sounds.append(name); });
        panel = std::make_unique<ActivityViewController>(*manager);
        MessageBox::setPresenter([this](const MessageBox::Alert& alert) {
            alerts.append(alert.message + QStringLiteral(" / ") + alert.informativeText);
        });
        panel->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(panel.get()));
    }

    void TearDown() override
    {
        settle();
        panel.reset();
        manager.reset();
        QCoreApplication::processEvents();
        store.reset();
        UserNotificationCenter::setShared(nullptr);
        Console::setSink(nullptr);
        env.reset();
    }

    void settle()
    {
        activity().queue().sync([] {});
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }

    void runSeconds(int seconds)
    {
        for (int i = 0; i < seconds; ++i) {
            env->clock().advance(1.0);
            settle();
        }
    }

    void launch()
    {
        manager->launch();
        settle();
    }

    // Runs the current task out, so its break starts.
    void finishTask()
    {
        activity().setTimelapse(activity().totaltime());
        runSeconds(1);
    }

    Activity& activity() { return manager->activityPomodoro(); }
    ActivityView& ring() { return *panel->activityPomodoro; }
    bool showsPaused() { return !ring().imagePaused->isHidden() && ring().labelTime->isHidden(); }

    void clickRing()
    {
        QTest::mouseClick(&ring(), Qt::LeftButton, {}, ring().rect().center());
        settle();
    }

    ActivitySettingsViewController& openMenu()
    {
        QTest::mouseClick(panel->buttonActivitySettings, Qt::LeftButton);
        EXPECT_TRUE(panel->popover());
        EXPECT_TRUE(panel->popover()->isVisible());
        return *panel->popover();
    }

    void clickInMenu(QPushButton* button)
    {
        QTest::mouseClick(button, Qt::LeftButton);
        settle();
    }

    void press(const QKeySequence& keys)
    {
        panel->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(panel.get()));
        panel->setFocus();
        QTest::keySequence(panel.get(), keys);
        settle();
    }

    std::unique_ptr<TestEnvironment> env;
    SilentNotificationCenter notifications;
    std::unique_ptr<DataController> store;
    std::unique_ptr<ActivityManager> manager;
    std::unique_ptr<ActivityViewController> panel;
    QStringList sounds;
    QStringList alerts;
};

TEST_F(ActivityPanelTest, LoadsShowingTheFullTaskAndTheCounters)
{
    EXPECT_EQ(ring().activityState(), ActivityView::State::running);
    EXPECT_EQ(ring().labelTitle->text(), text("ACTIVITY_POMODORO"));
    EXPECT_EQ(ring().labelTime->text(), QStringLiteral("25:00"));
    EXPECT_EQ(ring().labelUnit->text(), text("ACTIVITY_UNIT_MINUTES"));
    EXPECT_EQ(ring().theme(), RingGeometry::Theme::task());
    EXPECT_EQ(activity().delegate(), &ring());

    EXPECT_EQ(panel->sessionPomodoro->labelTitle->text(), text("SESSION_SERIE"));
    EXPECT_EQ(panel->sessionPomodoro->labelQuantity->text(), QStringLiteral("0"));
    EXPECT_EQ(panel->sessionPomodoro->labelTotal->text(), QStringLiteral("/ 4"));
    EXPECT_EQ(panel->goalPomodoro->labelTitle->text(), text("GOAL_SERIE"));
    EXPECT_EQ(panel->goalPomodoro->labelTotal->text(), QStringLiteral("/ 12"));
    EXPECT_EQ(manager->goalPomodoro().delegate(), panel->goalPomodoro);

    EXPECT_EQ(panel->buttonSelectedTask->text(), text("ACTIVITY_TASK_NAME_PLACEHOLDER"));
}

TEST_F(ActivityPanelTest, WithoutStartAtLaunchItLoadsPaused)
{
    panel.reset();
    Settings::shared().setBool(QLatin1String(Settings::PomodoroStartLaunch), false);
    panel = std::make_unique<ActivityViewController>(*manager);
    EXPECT_EQ(ring().activityState(), ActivityView::State::stopped);
    EXPECT_TRUE(showsPaused());
    EXPECT_EQ(ring().labelTitle->text(), text("ACTIVITY_PAUSED"));
}

TEST_F(ActivityPanelTest, EachTickShowsTheTimeSetsTheTitleAndPublishesTheHandoff)
{
    launch();
    EXPECT_EQ(ring().labelTime->text(), QStringLiteral("24:59"));
    EXPECT_EQ(StatusItem::shared().title(), QStringLiteral(" 24:59"));
    EXPECT_EQ(Handoff::current().value(QStringLiteral("current_time")).toInt(), 1);

    activity().setTimelapse(750 - 1);
    runSeconds(1);
    EXPECT_EQ(ring().percentage(), 50);
    EXPECT_EQ(Handoff::current().value(QStringLiteral("current_time")).toInt(), 750);

    // The unit turns to seconds for the last minute.
    activity().setTimelapse(1500 - 62);
    runSeconds(1);
    EXPECT_EQ(ring().labelTime->text(), QStringLiteral("01:01"));
    EXPECT_EQ(ring().labelUnit->text(), text("ACTIVITY_UNIT_MINUTES"));
    runSeconds(1);
    EXPECT_EQ(ring().labelTime->text(), QStringLiteral("01:00"));
    EXPECT_EQ(ring().labelUnit->text(), text("ACTIVITY_UNIT_SECONDS"));
    EXPECT_EQ(StatusItem::shared().title(), QStringLiteral(" 01:00"));
}

TEST_F(ActivityPanelTest, AFinishedTaskCountsAndStartsTheBreakInFreeTimeColours)
{
    launch();
    finishTask();
    EXPECT_FALSE(activity().onActivity());
    EXPECT_EQ(ring().theme(), RingGeometry::Theme::freeTime());
    EXPECT_EQ(ring().labelTitle->text(), text("ACTIVITY_CONTINUE"));
    EXPECT_EQ(ring().labelTime->text(), QStringLiteral("05:00"));
    EXPECT_EQ(panel->sessionPomodoro->labelQuantity->text(), QStringLiteral("1"));
    EXPECT_EQ(panel->goalPomodoro->labelQuantity->text(), QStringLiteral("1"));
    EXPECT_EQ(panel->sessionPomodoro->percentage(), 25);
    EXPECT_EQ(sounds, QStringList{QStringLiteral("Break-Sound")});
}

TEST_F(ActivityPanelTest, ClickingTheRingPausesAndResumesABreakInItsOwnColours)
{
    launch();
    finishTask();

    clickRing();
    EXPECT_EQ(activity().state(), Activity::State::stopped);
    EXPECT_EQ(ring().activityState(), ActivityView::State::stopped);
    EXPECT_TRUE(showsPaused());
    EXPECT_EQ(ring().labelTitle->text(), text("ACTIVITY_PAUSED"));
    EXPECT_EQ(ring().theme(), RingGeometry::Theme::task());
    EXPECT_EQ(StatusItem::shared().title(), QStringLiteral(" --:--"));
    const int elapsed = activity().timelapse();
    runSeconds(3);
    EXPECT_EQ(activity().timelapse(), elapsed);

    clickRing();
    EXPECT_TRUE(activity().isRunning());
    EXPECT_FALSE(activity().onActivity());
    EXPECT_FALSE(showsPaused());
    EXPECT_EQ(ring().theme(), RingGeometry::Theme::freeTime());
    EXPECT_EQ(ring().labelTitle->text(), text("ACTIVITY_POMODORO"));

    clickRing();
    EXPECT_EQ(activity().state(), Activity::State::stopped);
    EXPECT_TRUE(showsPaused());
}

// The tick runs on the timer's queue and its report waits on the main queue; a pause from the
// ring in between stays shown when that report arrives.
TEST_F(ActivityPanelTest, APauseStaysShownWhenATickAlreadyOnItsWayArrives)
{
    launch();
    env->clock().advance(1.0);
    activity().queue().sync([] {});
    ASSERT_EQ(StatusItem::shared().title(), QStringLiteral(" 24:59"));

    QTest::keyClick(&ring(), Qt::Key_Return);
    ASSERT_EQ(StatusItem::shared().title(), QStringLiteral(" --:--"));
    settle();

    EXPECT_EQ(StatusItem::shared().title(), QStringLiteral(" --:--"));
    EXPECT_TRUE(showsPaused());
    EXPECT_EQ(ring().activityState(), ActivityView::State::stopped);
}

TEST_F(ActivityPanelTest, AClickBesideTheRingDoesNothing)
{
    launch();
    QTest::mouseClick(&ring(), Qt::LeftButton, {}, QPoint(2, 2));
    settle();
    EXPECT_TRUE(activity().isRunning());
}

TEST_F(ActivityPanelTest, MenuPausesAndResumesWithMatchingTitles)
{
    launch();
    ActivitySettingsViewController& menu = openMenu();
    EXPECT_EQ(menu.buttonToogleTimer->text(), text("MENU_ACTIVITIES_PAUSE"));
    clickInMenu(menu.buttonToogleTimer);
    EXPECT_FALSE(panel->popover() && panel->popover()->isVisible());
    EXPECT_EQ(activity().state(), Activity::State::stopped);
    EXPECT_TRUE(showsPaused());
    EXPECT_EQ(StatusItem::shared().title(), QStringLiteral(" --:--"));

    ActivitySettingsViewController& again = openMenu();
    EXPECT_EQ(again.buttonToogleTimer->text(), text("MENU_ACTIVITIES_RESUME"));
    clickInMenu(again.buttonToogleTimer);
    EXPECT_TRUE(activity().isRunning());
    EXPECT_FALSE(showsPaused());
}

TEST_F(ActivityPanelTest, SkipIsOfferedOnlyDuringABreakAndEndsIt)
{
    launch();
    EXPECT_FALSE(openMenu().buttonSkipFreeTime->isEnabled());
    panel->popover()->close();

    finishTask();
    ActivitySettingsViewController& menu = openMenu();
    ASSERT_TRUE(menu.buttonSkipFreeTime->isEnabled());
    clickInMenu(menu.buttonSkipFreeTime);
    runSeconds(2);
    EXPECT_TRUE(activity().onActivity());
    EXPECT_EQ(ring().theme(), RingGeometry::Theme::task());
}

TEST_F(ActivityPanelTest, ResetTimerFromTheMenuPlaysTheTaskSound)
{
    launch();
    runSeconds(10);
    clickInMenu(openMenu().buttonResetTimer);
    EXPECT_EQ(sounds, QStringList{QStringLiteral("Task-Sound")});
    EXPECT_TRUE(activity().isRunning());
    EXPECT_LE(activity().timelapse(), 1);
}

TEST_F(ActivityPanelTest, ResetAllClearsTimerAndCountersWithoutSoundOrAlert)
{
    launch();
    finishTask();
    finishTask();
    sounds.clear();
    ASSERT_EQ(manager->sessionPomodoro().currentTask(), 1);

    clickInMenu(openMenu().buttonResetAll);
    EXPECT_EQ(manager->sessionPomodoro().currentTask(), 0);
    EXPECT_EQ(manager->goalPomodoro().currentTask(), 0);
    EXPECT_EQ(panel->sessionPomodoro->labelQuantity->text(), QStringLiteral("0"));
    EXPECT_EQ(panel->goalPomodoro->labelQuantity->text(), QStringLiteral("0"));
    EXPECT_EQ(activity().timelapse(), 0);
    EXPECT_TRUE(activity().isRunning());
    EXPECT_TRUE(sounds.isEmpty());
    EXPECT_TRUE(alerts.isEmpty());
}

struct AdviceCase {
    const char* name;
    bool showResetAdvice;
    QStringList expected;
};

TEST_F(ActivityPanelTest, CounterResetsFromTheMenuAdvise)
{
    const QString session = text("RESET_TITLE") + QStringLiteral(" / ") + text("RESET_MESSAGE");
    const QString goal =
        text("RESET_SESSION_TITLE") + QStringLiteral(" / ") + text("RESET_SESSION_MESSAGE");
    const AdviceCase cases[] = {
        {"advice on", true, {session, goal}},
        {"advice off: the goal still advises", false, {goal}},
    };
    for (const auto& c : cases) {
        Settings::shared().setBool(QLatin1String(Settings::ShowResetAdviceWindow),
                                   c.showResetAdvice);
        alerts.clear();
        manager->sessionPomodoro().setCurrentTask(3);
        manager->goalPomodoro().setCurrentTask(5);
        clickInMenu(openMenu().buttonResetSession);
        EXPECT_EQ(manager->sessionPomodoro().currentTask(), 0) << c.name;
        clickInMenu(openMenu().buttonResetGoal);
        EXPECT_EQ(manager->goalPomodoro().currentTask(), 0) << c.name;
        EXPECT_EQ(alerts, c.expected) << c.name;
    }
}

TEST_F(ActivityPanelTest, KeyboardCarriesTheTimerActionsSilently)
{
    launch();
    press(QKeySequence(Qt::Key_Space));
    EXPECT_EQ(activity().state(), Activity::State::stopped);
    EXPECT_TRUE(showsPaused());
    press(QKeySequence(Qt::Key_Space));
    EXPECT_TRUE(activity().isRunning());

    runSeconds(10);
    press(QKeySequence(Qt::CTRL | Qt::Key_R));
    EXPECT_LE(activity().timelapse(), 1);

    manager->sessionPomodoro().setCurrentTask(3);
    manager->goalPomodoro().setCurrentTask(5);
    press(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    EXPECT_EQ(manager->sessionPomodoro().currentTask(), 0);
    press(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G));
    EXPECT_EQ(manager->goalPomodoro().currentTask(), 0);

    EXPECT_TRUE(sounds.isEmpty());
    EXPECT_TRUE(alerts.isEmpty());
}

TEST_F(ActivityPanelTest, TheCurrentTaskFollowsChoicesRenamesAndDeletions)
{
    panel->taskChosen(QStringLiteral("Write report"));
    EXPECT_EQ(panel->buttonSelectedTask->text(), QStringLiteral("Write report"));
    EXPECT_EQ(activity().taskName(), QStringLiteral("Write report"));
    EXPECT_EQ(panel->taskFade()->state(), QAbstractAnimation::Running);
    EXPECT_EQ(panel->taskFade()->duration(), 450);
    EXPECT_EQ(panel->taskFade()->easingCurve().type(), QEasingCurve::OutQuad);

    panel->taskNameChanged(QStringLiteral("Other"), QStringLiteral("Else"));
    EXPECT_EQ(activity().taskName(), QStringLiteral("Write report"));
    panel->taskNameChanged(QStringLiteral("Write report"), QStringLiteral("Write the report"));
    EXPECT_EQ(panel->buttonSelectedTask->text(), QStringLiteral("Write the report"));
    EXPECT_EQ(activity().taskName(), QStringLiteral("Write the report"));

    panel->taskDeleted(QStringLiteral("Else"));
    EXPECT_EQ(activity().taskName(), QStringLiteral("Write the report"));
    panel->taskDeleted(QStringLiteral("Write the report"));
    EXPECT_EQ(activity().taskName(), QString());
    EXPECT_EQ(panel->buttonSelectedTask->text(), text("ACTIVITY_TASK_NAME_PLACEHOLDER"));
}

TEST_F(ActivityPanelTest, AHandedOverTaskBecomesTheCurrentOne)
{
    NotificationCenter::defaultCenter().post(
        QLatin1String(Handoff::taskNamedNotification),
        {{QStringLiteral("task_name"), QStringLiteral("Mail")}});
    EXPECT_TRUE(
        processEventsUntil([&] { return activity().taskName() == QStringLiteral("Mail"); }));
    EXPECT_EQ(panel->buttonSelectedTask->text(), QStringLiteral("Mail"));
}

TEST_F(ActivityPanelTest, ButtonsAskForTheTaskListAndTheWindows)
{
    TaskListRequests transitions;
    panel->setTransitionDelegate(&transitions);
    QTest::mouseClick(panel->buttonSelectedTask, Qt::LeftButton);
    EXPECT_EQ(transitions.taskListShown, 1);

    const std::pair<QToolButton*, void (ActivityViewController::*)()> buttons[] = {
        {panel->buttonSettings, &ActivityViewController::settingsRequested},
        {panel->buttonAbout, &ActivityViewController::aboutRequested},
        {panel->buttonBitacora, &ActivityViewController::logbookRequested},
        {panel->buttonReport, &ActivityViewController::reportRequested},
        {panel->buttonThief, &ActivityViewController::thievesRequested},
        {panel->buttonQuit, &ActivityViewController::quitRequested},
    };
    for (const auto& [button, signal] : buttons) {
        QSignalSpy spy(panel.get(), signal);
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(spy.count(), 1) << button->toolTip().toStdString();
    }
}

// Pictures of the panel for a look by eye, taken only when ZESTRA_SHOTS names a folder:
// ZESTRA_SHOTS=/tmp/zestra-shots zestra_ui_tests --gtest_filter='*Screenshot*'
TEST_F(ActivityPanelTest, Screenshots)
{
    const QString folder = qEnvironmentVariable("ZESTRA_SHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "set ZESTRA_SHOTS to a folder to save pictures";
    ASSERT_TRUE(QDir().mkpath(folder));
    const auto shoot = [&](const char* name) {
        QCoreApplication::processEvents();
        EXPECT_TRUE(panel->grab().save(folder + QStringLiteral("/panel-") + QLatin1String(name) +
                                       QStringLiteral(".png")));
    };
    manager->sessionPomodoro().setCurrentTask(2);
    manager->sessionPomodoro().refresh();
    manager->goalPomodoro().setCurrentTask(7);
    manager->goalPomodoro().refresh();
    panel->taskChosen(QStringLiteral("Quarterly report"));
    panel->taskFade()->setCurrentTime(450);
    launch();
    activity().setTimelapse(560);
    runSeconds(1);
    shoot("running");

    clickRing();
    shoot("paused");

    clickRing();
    finishTask();
    activity().setTimelapse(100);
    runSeconds(1);
    shoot("break");

    openMenu();
    QCoreApplication::processEvents();
    EXPECT_TRUE(panel->popover()->grab().save(folder + QStringLiteral("/panel-menu.png")));
    panel->popover()->close();

    panel->offerContinue(QStringLiteral("desk"), QStringLiteral("Quarterly report"), 754);
    shoot("handoff");
}

TEST_F(ActivityPanelTest, TheHeaderOffersAnotherComputersCountdownUntilWithdrawn)
{
    EXPECT_FALSE(panel->buttonContinue->isVisibleTo(panel.get()));
    panel->offerContinue(QStringLiteral("desk"), QStringLiteral("Write"), 754);
    ASSERT_TRUE(panel->buttonContinue->isVisibleTo(panel.get()));
    EXPECT_TRUE(panel->buttonContinue->text().contains(QLatin1String("desk")));
    EXPECT_TRUE(panel->buttonContinue->toolTip().contains(QLatin1String("12:34")));
    QSignalSpy asked(panel.get(), &ActivityViewController::continueRequested);
    panel->buttonContinue->click();
    EXPECT_EQ(asked.size(), 1);
    panel->withdrawContinue();
    EXPECT_FALSE(panel->buttonContinue->isVisibleTo(panel.get()));
}

// Paint events the ring receives, with the area each asks for.
class PaintRecorder : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            areas.append(static_cast<QPaintEvent*>(event)->rect());
        return false;
    }
    QList<QRect> areas;
};

TEST_F(ActivityPanelTest, ATickRepaintsTheTimeNotTheRingAndAHiddenPanelNothing)
{
    launch();
    runSeconds(2);
    QCoreApplication::processEvents();
    PaintRecorder paints;
    ring().installEventFilter(&paints);

    // 25 minutes make a percent every 15 s: these ticks leave the ring as it was.
    runSeconds(5);
    QCoreApplication::processEvents();
    ASSERT_FALSE(paints.areas.isEmpty());
    for (const QRect& area : paints.areas)
        EXPECT_TRUE(ring().labelTime->geometry().contains(area)) << "a tick repainted the ring";

    // Hidden, the panel draws nothing; shown again, it shows the time of now.
    panel->hide();
    paints.areas.clear();
    runSeconds(3);
    QCoreApplication::processEvents();
    EXPECT_TRUE(paints.areas.isEmpty());
    panel->show();
    EXPECT_EQ(ring().labelTime->text(), TimeText::text(activity().remaining()));
    EXPECT_EQ(StatusItem::shared().title(), TimeText::statusTitle(activity().remaining()));
}

} // namespace
