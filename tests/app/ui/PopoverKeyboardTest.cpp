#include <gtest/gtest.h>

#include <memory>

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "Console.h"
#include "UserNotificationCenter.h"
#include "dispatch/SerialQueue.h"
#include "settings/Settings.h"
#include "store/DataController.h"
#include "store/Localization.h"
#include "support/ManualClock.h"
#include "support/TestEnvironment.h"
#include "timer/ActivityManager.h"
#include "ui/ActivitySettingsViewController.h"
#include "ui/ActivityView.h"
#include "ui/ActivityViewController.h"
#include "ui/ContainerViewController.h"
#include "ui/MessageViewController.h"
#include "ui/SlideAnimator.h"
#include "ui/TaskCreatorViewController.h"
#include "ui/TaskManagerCell.h"
#include "ui/TasksViewController.h"

namespace {

class SilentNotificationCenter : public UserNotificationCenter {
public:
    void deliver(const UserNotification&) override {}
};

QString text(const char* key)
{
    return Localization::text(key);
}

// What a screen reader is told the widget is called.
QString spokenName(QWidget* widget)
{
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(QAccessible::Name) : QString();
}

QString describe(QWidget* widget)
{
    if (!widget)
        return QStringLiteral("(nothing)");
    return QString::fromLatin1(widget->metaObject()->className()) + QLatin1Char(' ') +
           widget->objectName() + QStringLiteral(" \"") + spokenName(widget) + QLatin1Char('"');
}

// The popover's content put together as the application does, on its own store and clock, in a
// window that has the keyboard.
class PopoverKeyboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        env = std::make_unique<TestEnvironment>("Europe/Madrid");
        env->clock().setNow(TestEnvironment::localTime(QStringLiteral("2026-06-10T09:00:00")));
        Console::setSink([](const QString&) {});
        Settings::shared().registerApplicationDefaults();
        Settings::shared().setBool(Settings::WelcomeOnboardingDone, true);
        UserNotificationCenter::setShared(&notifications);
        SlideAnimator::setAnimationsEnabled(false);
        store = std::make_unique<DataController>(env->dataDirectory());
        store->addTaskInfo(TaskInfoParameter(QStringLiteral("Read"), QStringLiteral("#59b6e8")));
        store->addTaskInfo(TaskInfoParameter(QStringLiteral("Write"), QStringLiteral("#82cf52")));
        manager = std::make_unique<ActivityManager>(
            *store, [this](const QString& name) { sounds.append(name); });

        ContainerViewController::Services services;
        services.internetMonitor = [] { return std::unique_ptr<InternetMonitor>(); };
        services.iCloudConnectionOnline = [](std::function<void(bool)> answer) { answer(true); };
        container = std::make_unique<ContainerViewController>(services);
        panel = new ActivityViewController(*manager);
        list = new TasksViewController(*store);
        creator = new TaskCreatorViewController(*store);
        panel->setTransitionDelegate(container.get());
        list->setTransitionDelegate(container.get());
        list->setDelegate(panel);
        creator->setTransitionDelegate(container.get());
        creator->setDelegate(list);
        container->setScreens(panel, list, creator, new MessageViewController);
        container->setEditTask([this](const QString& name) { creator->editTask(name); });
        for (QToolButton* later : {panel->buttonBitacora, panel->buttonReport, panel->buttonThief})
            later->hide();
        container->resize(320, 440);
        container->show();
        container->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(container.get()));
        manager->launch();
        settle();
    }

    void TearDown() override
    {
        settle();
        container.reset();
        manager.reset();
        QCoreApplication::processEvents();
        store.reset();
        SlideAnimator::setAnimationsEnabled(true);
        UserNotificationCenter::setShared(nullptr);
        Console::setSink(nullptr);
        env.reset();
    }

    void settle()
    {
        manager->activityPomodoro().queue().sync([] {});
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }

    // To whatever has the keyboard, as a real key press would go.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(static_cast<QWidget*>(nullptr), key, modifiers);
        settle();
    }

    static QWidget* focused() { return QApplication::focusWidget(); }

    // Tabs from wherever the focus is, once for each expected stop, checking each one's name.
    void expectTabStops(const QList<std::pair<QWidget*, QString>>& stops)
    {
        for (const auto& [widget, name] : stops) {
            press(Qt::Key_Tab);
            ASSERT_EQ(focused(), widget) << "expected " << describe(widget).toStdString()
                                         << ", got " << describe(focused()).toStdString();
            EXPECT_EQ(spokenName(widget), name);
            EXPECT_FALSE(name.isEmpty());
        }
    }

    void tabTo(QWidget* widget)
    {
        for (int i = 0; i < 20 && focused() != widget; ++i)
            press(Qt::Key_Tab);
        ASSERT_EQ(focused(), widget) << describe(widget).toStdString();
    }

    Activity& activity() { return manager->activityPomodoro(); }

    std::unique_ptr<TestEnvironment> env;
    SilentNotificationCenter notifications;
    std::unique_ptr<DataController> store;
    std::unique_ptr<ActivityManager> manager;
    std::unique_ptr<ContainerViewController> container;
    ActivityViewController* panel = nullptr;
    TasksViewController* list = nullptr;
    TaskCreatorViewController* creator = nullptr;
    QStringList sounds;
};

TEST_F(PopoverKeyboardTest, TabWalksThePanelTopToBottomAndEveryStopHasAName)
{
    ASSERT_EQ(container->actualView(), TransitionDestination::activity);
    expectTabStops({
        {panel->buttonActivitySettings, text("ACTIVITY_BUTTON_ACTIONS")},
        {panel->activityPomodoro, text("ACTIVITY_TIMER_ACCESSIBLE")},
        {panel->buttonSelectedTask, text("ACTIVITY_TASK_NAME_PLACEHOLDER")},
        {panel->buttonSettings, text("ACTIVITY_BUTTON_SETTINGS")},
        {panel->buttonAbout, text("ACTIVITY_BUTTON_ABOUT")},
        {panel->buttonQuit, text("ACTIVITY_BUTTON_QUIT")},
        // Round again, past nothing hidden or unnamed.
        {panel->buttonActivitySettings, text("ACTIVITY_BUTTON_ACTIONS")},
    });
    press(Qt::Key_Backtab);
    EXPECT_EQ(focused(), panel->buttonQuit);
}

TEST_F(PopoverKeyboardTest, ReturnAndSpaceWorkTheFocusedControlNotTheTimer)
{
    QSignalSpy settings(panel, &ActivityViewController::settingsRequested);
    tabTo(panel->buttonSettings);
    press(Qt::Key_Return);
    EXPECT_EQ(settings.count(), 1);
    press(Qt::Key_Space);
    EXPECT_EQ(settings.count(), 2);
    EXPECT_TRUE(activity().isRunning());

    // The ring is the timer's button.
    tabTo(panel->activityPomodoro);
    press(Qt::Key_Return);
    EXPECT_EQ(activity().state(), Activity::State::stopped);
    EXPECT_EQ(panel->activityPomodoro->activityState(), ActivityView::State::stopped);
    press(Qt::Key_Space);
    EXPECT_TRUE(activity().isRunning());
}

TEST_F(PopoverKeyboardTest, TheTimerMenuOpensReadyForTheKeyboard)
{
    tabTo(panel->buttonActivitySettings);
    press(Qt::Key_Return);
    ActivitySettingsViewController* menu = panel->popover();
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(menu->isVisible());
    ASSERT_EQ(focused(), menu->buttonToogleTimer);
    EXPECT_EQ(spokenName(menu->buttonToogleTimer), text("MENU_ACTIVITIES_PAUSE"));

    // Skipping a break is not offered during a task, so the walk passes it by.
    expectTabStops({
        {menu->buttonResetTimer, text("MENU_ACTIVITIES_RESET_TIMER")},
        {menu->buttonResetSession, text("MENU_ACTIVITIES_RESET_SESSION")},
        {menu->buttonResetGoal, text("MENU_ACTIVITIES_RESET_GOAL")},
        {menu->buttonResetAll, text("MENU_ACTIVITIES_RESET_ALL")},
        {menu->buttonToogleTimer, text("MENU_ACTIVITIES_PAUSE")},
    });
    press(Qt::Key_Down);
    ASSERT_EQ(focused(), menu->buttonResetTimer);
    press(Qt::Key_Up);
    ASSERT_EQ(focused(), menu->buttonToogleTimer);

    press(Qt::Key_Return);
    EXPECT_EQ(activity().state(), Activity::State::stopped);
    EXPECT_FALSE(panel->popover() && panel->popover()->isVisible());
}

TEST_F(PopoverKeyboardTest, ATaskIsChosenFromTheKeyboardAndTheFocusComesBack)
{
    tabTo(panel->buttonSelectedTask);
    press(Qt::Key_Return);
    ASSERT_EQ(container->actualView(), TransitionDestination::taskList);
    QListWidget* table = list->tableTasks();
    ASSERT_EQ(focused(), table);
    EXPECT_EQ(spokenName(table), text("TASKS_TITLE_NEW"));
    QAccessibleInterface* rows = QAccessible::queryAccessibleInterface(table);
    ASSERT_GE(rows->childCount(), 2);
    EXPECT_TRUE(rows->child(0)->text(QAccessible::Name).startsWith(QStringLiteral("Read")));

    const auto ringed = [&](int row) {
        return qobject_cast<TaskManagerCell*>(table->itemWidget(table->item(row)))->hasFocusRing();
    };
    // The first key shows where the list stands; the next ones move.
    EXPECT_FALSE(ringed(0));
    press(Qt::Key_Down);
    EXPECT_TRUE(ringed(0));
    press(Qt::Key_Down);
    EXPECT_FALSE(ringed(0));
    EXPECT_TRUE(ringed(1));
    press(Qt::Key_Return);

    ASSERT_EQ(container->actualView(), TransitionDestination::activity);
    EXPECT_EQ(activity().taskName(), QStringLiteral("Write"));
    EXPECT_EQ(focused(), panel->buttonSelectedTask);
    EXPECT_EQ(spokenName(panel->buttonSelectedTask), QStringLiteral("Write"));
}

TEST_F(PopoverKeyboardTest, TheListsHeaderAndRowsAreTabStopsWithNames)
{
    container->showTaskList();
    ASSERT_EQ(focused(), list->tableTasks());
    expectTabStops({
        {list->buttonBack(), text("TASKS_BUTTON_BACK")},
        {list->buttonNewTask(), text("TASKS_BUTTON_NEW")},
        {list->tableTasks(), text("TASKS_TITLE_NEW")},
    });
    // Tabbing in rings the current row at once.
    auto* first =
        qobject_cast<TaskManagerCell*>(list->tableTasks()->itemWidget(list->tableTasks()->item(0)));
    EXPECT_TRUE(first->hasFocusRing());

    // Nothing to choose: the list is passed by.
    store->deleteTaskInfo(QStringLiteral("Read"));
    store->deleteTaskInfo(QStringLiteral("Write"));
    container->showActivity();
    container->showTaskList();
    EXPECT_EQ(focused(), list);
    expectTabStops({{list->buttonBack(), text("TASKS_BUTTON_BACK")},
                    {list->buttonNewTask(), text("TASKS_BUTTON_NEW")},
                    {list->buttonBack(), text("TASKS_BUTTON_BACK")}});
}

TEST_F(PopoverKeyboardTest, TheCreatorOpensOnTheNameAndIsFilledFromTheKeyboard)
{
    container->showTaskList();
    tabTo(list->buttonNewTask());
    press(Qt::Key_Return);
    ASSERT_EQ(container->actualView(), TransitionDestination::taskCreation);
    ASSERT_EQ(focused(), creator->textfieldName());
    EXPECT_EQ(spokenName(creator->textfieldName()), text("TASK_CREATOR_NAME"));

    QTest::keyClicks(focused(), QStringLiteral("Plan"));
    expectTabStops({
        {creator->colorButton(TaskInfo::Colors::red), text("TASK_CREATOR_COLOR_RED")},
        {creator->colorButton(TaskInfo::Colors::orange), text("TASK_CREATOR_COLOR_ORANGE")},
        {creator->colorButton(TaskInfo::Colors::grass), text("TASK_CREATOR_COLOR_GRASS")},
        {creator->colorButton(TaskInfo::Colors::aqua), text("TASK_CREATOR_COLOR_AQUA")},
    });
    press(Qt::Key_Return);
    EXPECT_EQ(creator->form().selectedColor(), QStringLiteral("#59b6e8"));
    expectTabStops({
        {creator->colorButton(TaskInfo::Colors::lavander), text("TASK_CREATOR_COLOR_LAVANDER")},
        {creator->colorButton(TaskInfo::Colors::pink), text("TASK_CREATOR_COLOR_PINK")},
        {creator->textfieldDescription(), text("TASK_CREATOR_DESCRIPTION")},
        {creator->buttonSave(), text("TASK_CREATOR_BUTTON_SAVE")},
        {creator->buttonBack(), text("TASK_CREATOR_BUTTON_BACK")},
        {creator->textfieldName(), text("TASK_CREATOR_NAME")},
    });
    tabTo(creator->buttonSave());
    press(Qt::Key_Return);

    EXPECT_EQ(store->color(QStringLiteral("Plan")), QStringLiteral("#59b6e8"));
    EXPECT_EQ(container->actualView(), TransitionDestination::taskList);
}

TEST_F(PopoverKeyboardTest, EditingATaskAlsoStartsOnItsName)
{
    container->showTaskList();
    container->showTaskCreator(QStringLiteral("Write"));
    EXPECT_EQ(focused(), creator->textfieldName());
    EXPECT_EQ(creator->textfieldName()->text(), QStringLiteral("Write"));
}

// The focus rings as they look, taken only when ZESTRA_SHOTS names a folder.
TEST_F(PopoverKeyboardTest, Screenshots)
{
    const QString folder = qEnvironmentVariable("ZESTRA_SHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "set ZESTRA_SHOTS to a folder to save pictures";
    ASSERT_TRUE(QDir().mkpath(folder));
    const auto shoot = [&](const char* name) {
        QPropertyAnimation* marker = creator->markerAnimation();
        if (marker->state() == QAbstractAnimation::Running)
            marker->setCurrentTime(marker->duration());
        QCoreApplication::processEvents();
        EXPECT_TRUE(container->grab().save(folder + QStringLiteral("/focus-") +
                                           QLatin1String(name) + QStringLiteral(".png")));
    };
    tabTo(panel->activityPomodoro);
    shoot("ring");
    tabTo(panel->buttonSelectedTask);
    shoot("task");
    tabTo(panel->buttonSettings);
    shoot("settings");
    tabTo(panel->buttonActivitySettings);
    press(Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_TRUE(panel->popover()->grab().save(folder + QStringLiteral("/focus-menu.png")));
    press(Qt::Key_Escape);

    tabTo(panel->buttonSelectedTask);
    press(Qt::Key_Return);
    press(Qt::Key_Down);
    shoot("list");
    tabTo(list->buttonNewTask());
    shoot("list-new");
    press(Qt::Key_Return);
    QTest::keyClicks(focused(), QStringLiteral("Read"));
    tabTo(creator->colorButton(TaskInfo::Colors::aqua));
    press(Qt::Key_Return);
    tabTo(creator->colorButton(TaskInfo::Colors::grass));
    shoot("swatch");
    tabTo(creator->buttonSave());
    shoot("save");
    press(Qt::Key_Return);
    shoot("name-taken");
}

} // namespace
