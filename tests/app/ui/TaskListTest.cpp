#include <gtest/gtest.h>

#include <memory>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QEnterEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "RecordingTransitions.h"
#include "store/DataController.h"
#include "store/Localization.h"
#include "support/TestEnvironment.h"
#include "ui/DurationText.h"
#include "ui/EmptyTaskCell.h"
#include "ui/TaskCreatorViewController.h"
#include "ui/TaskManagerCell.h"
#include "ui/TaskTimerAdapter.h"
#include "ui/TasksViewController.h"

namespace {

class RecordingTaskManager : public TaskManagerDelegate {
public:
    void taskChosen(const QString& name) override { calls << QStringLiteral("chosen ") + name; }
    void taskDeleted(const QString& name) override { calls << QStringLiteral("deleted ") + name; }
    void taskNameChanged(const QString& oldName, const QString& newName) override
    {
        calls << QStringLiteral("renamed ") + oldName + QStringLiteral(" -> ") + newName;
    }
    QStringList calls;
};

class TaskListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        list = std::make_unique<TasksViewController>(store);
        list->setDelegate(&panel);
        list->setTransitionDelegate(&transitions);
        list->resize(320, 440);
    }

    // A finished interval of `seconds` stored against a catalogued task.
    void work(const QString& name, int seconds)
    {
        TaskParameter parameter;
        parameter.taskName = name;
        parameter.duration = seconds;
        parameter.startTime = m_start;
        parameter.endTime = m_start + seconds;
        m_start += seconds + 300;
        store.addTask(parameter);
    }

    void addTask(const QString& name, TaskInfo::Colors color)
    {
        store.addTaskInfo(TaskInfoParameter(name, TaskInfo::rawValue(color)));
    }

    TaskManagerCell* cell(int row) const
    {
        return qobject_cast<TaskManagerCell*>(
            list->tableTasks()->itemWidget(list->tableTasks()->item(row)));
    }

    void click(int row)
    {
        QListWidget* table = list->tableTasks();
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                          table->visualItemRect(table->item(row)).center());
    }

    TestEnvironment env;
    DataController store{env.dataDirectory()};
    RecordingTaskManager panel;
    RecordingTransitions transitions;
    std::unique_ptr<TasksViewController> list;

private:
    double m_start = TestEnvironment::localTime(QStringLiteral("2026-03-02T09:00:00"));
};

TEST_F(TaskListTest, EmptyCatalogueShowsOnlyTheEmptyRowWhichCannotBeChosen)
{
    list->show();

    const TaskRowsModel& rows = list->adapters();
    ASSERT_EQ(rows.count(), 1);
    EXPECT_EQ(rows.adapter(0)->cell(), TaskAdaptable::Cell::emptyTask);
    EXPECT_FALSE(rows.isSelectable(0));
    EXPECT_TRUE(rows.actions(0).isEmpty());
    EXPECT_EQ(list->contextMenu(0), nullptr);
    EXPECT_FALSE(list->tableTasks()->item(0)->flags() & Qt::ItemIsSelectable);

    auto* empty =
        qobject_cast<EmptyTaskCell*>(list->tableTasks()->itemWidget(list->tableTasks()->item(0)));
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->labelTitle()->text(), Localization::text("EMPTY_TASKS_MANAGER_TITLE"));
    EXPECT_EQ(empty->labelTagline()->text(), Localization::text("EMPTY_TASKS_MANAGER_DESCRIPTION"));
    EXPECT_TRUE(empty->findChildren<QToolButton*>().isEmpty());

    click(0);
    list->chooseRow(0);
    EXPECT_TRUE(panel.calls.isEmpty());
    EXPECT_TRUE(transitions.calls.isEmpty());
}

TEST_F(TaskListTest, RowsShowEveryTaskInNameOrderWithItsWorkAndColour)
{
    addTask(QStringLiteral("Write"), TaskInfo::Colors::grass);
    addTask(QStringLiteral("Read"), TaskInfo::Colors::aqua);
    addTask(QStringLiteral("Plan"), TaskInfo::Colors::pink);
    work(QStringLiteral("Write"), 1500);
    work(QStringLiteral("Write"), 3900);
    work(QStringLiteral("Read"), 1500);
    list->show();

    const TaskRowsModel& rows = list->adapters();
    ASSERT_EQ(rows.count(), 3);
    struct Expected {
        QString name;
        int iterations;
        QString time;
        QString color;
    };
    const QList<Expected> expected = {
        {QStringLiteral("Plan"), 0, QString(), QStringLiteral("#fe2f68")},
        {QStringLiteral("Read"), 1, QStringLiteral(" 25 min"), QStringLiteral("#59b6e8")},
        {QStringLiteral("Write"), 2, QStringLiteral("1 h 30 min"), QStringLiteral("#82cf52")},
    };
    for (int row = 0; row < 3; ++row) {
        SCOPED_TRACE(row);
        const TaskTimerAdapter* task = rows.task(row);
        ASSERT_NE(task, nullptr);
        EXPECT_EQ(task->name, expected[row].name);
        EXPECT_EQ(task->iterations, expected[row].iterations);
        EXPECT_EQ(task->time(), expected[row].time);
        EXPECT_EQ(task->color, expected[row].color);
        EXPECT_TRUE(rows.isSelectable(row));
        EXPECT_EQ(rows.actions(row).size(), 2);

        TaskManagerCell* shown = cell(row);
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->labelTaskName()->text(), expected[row].name);
        EXPECT_EQ(shown->labelIterations()->text(), QString::number(expected[row].iterations));
        EXPECT_EQ(shown->labelTime()->text(), expected[row].time);
        EXPECT_EQ(shown->labelTitleIterations()->text(),
                  Localization::text("CELL_POMODORO_ITERATIONS_TITLE"));
        EXPECT_TRUE(shown->viewColor()->styleSheet().contains(expected[row].color));
    }
}

TEST_F(TaskListTest, AbsentCellValuesShowADash)
{
    TaskManagerCell cell;
    for (QLabel* label : {cell.labelTaskName(), cell.labelIterations(), cell.labelTime()})
        EXPECT_EQ(label->text(), QStringLiteral("-"));
}

TEST_F(TaskListTest, RowsAreReloadedEachTimeTheListIsShown)
{
    list->show();
    addTask(QStringLiteral("Write"), TaskInfo::Colors::red);
    EXPECT_EQ(list->adapters().task(0), nullptr);

    list->hide();
    list->show();
    ASSERT_NE(list->adapters().task(0), nullptr);
    EXPECT_EQ(list->adapters().task(0)->name, QStringLiteral("Write"));
}

TEST_F(TaskListTest, ChoosingATaskTellsThePanelAndReturnsToIt)
{
    addTask(QStringLiteral("Read"), TaskInfo::Colors::aqua);
    addTask(QStringLiteral("Write"), TaskInfo::Colors::grass);
    list->show();

    click(1);

    EXPECT_EQ(panel.calls, QStringList{QStringLiteral("chosen Write")});
    EXPECT_EQ(transitions.calls, QStringList{QStringLiteral("activity")});
}

TEST_F(TaskListTest, DeleteButtonRemovesTheTaskReloadsAndTellsThePanel)
{
    addTask(QStringLiteral("Read"), TaskInfo::Colors::aqua);
    addTask(QStringLiteral("Write"), TaskInfo::Colors::grass);
    work(QStringLiteral("Write"), 1500);
    list->show();

    TaskManagerCell* row = cell(1);
    ASSERT_NE(row, nullptr);
    QEnterEvent enter(QPointF(10, 10), QPointF(10, 10), QPointF(10, 10));
    QCoreApplication::sendEvent(row, &enter);
    QToolButton* remove = row->findChild<QToolButton*>(QStringLiteral("TableAction-Delete"));
    ASSERT_NE(remove, nullptr);
    EXPECT_TRUE(remove->isVisible());
    QTest::mouseClick(remove, Qt::LeftButton);

    ASSERT_TRUE(processEventsUntil([&] { return !panel.calls.isEmpty(); }));
    EXPECT_EQ(panel.calls, QStringList{QStringLiteral("deleted Write")});
    EXPECT_FALSE(store.existsTaskInfo(QStringLiteral("Write")));
    ASSERT_EQ(list->adapters().count(), 1);
    EXPECT_EQ(list->adapters().task(0)->name, QStringLiteral("Read"));
    EXPECT_EQ(list->tableTasks()->count(), 1);
    // The interval stays, no longer counted against any task.
    EXPECT_EQ(store.pomodoros(Date(0), Date(1e9))->size(), 1);
    EXPECT_TRUE(transitions.calls.isEmpty());
}

TEST_F(TaskListTest, DeletingTheLastTaskLeavesTheEmptyRow)
{
    addTask(QStringLiteral("Write"), TaskInfo::Colors::grass);
    list->show();

    list->deleteTask(QStringLiteral("Write"));

    ASSERT_EQ(list->adapters().count(), 1);
    EXPECT_EQ(list->adapters().adapter(0)->cell(), TaskAdaptable::Cell::emptyTask);
    EXPECT_EQ(panel.calls, QStringList{QStringLiteral("deleted Write")});
}

TEST_F(TaskListTest, ContextMenuOffersEditThenDelete)
{
    addTask(QStringLiteral("Write"), TaskInfo::Colors::grass);
    list->show();

    std::unique_ptr<QMenu> menu = list->contextMenu(0);
    ASSERT_NE(menu, nullptr);
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 2);
    EXPECT_EQ(actions[0]->text(), Localization::text("CELL_ACTION_EDIT"));
    EXPECT_EQ(actions[1]->text(), Localization::text("CELL_ACTION_DELETE"));

    actions[0]->trigger();

    EXPECT_EQ(transitions.calls, QStringList{QStringLiteral("creator Write")});
    EXPECT_TRUE(panel.calls.isEmpty());
    EXPECT_TRUE(store.existsTaskInfo(QStringLiteral("Write")));

    actions[1]->trigger();
    EXPECT_FALSE(store.existsTaskInfo(QStringLiteral("Write")));
    EXPECT_EQ(panel.calls, QStringList{QStringLiteral("deleted Write")});
}

TEST_F(TaskListTest, HeaderButtonsOpenAnEmptyCreatorAndReturnToThePanel)
{
    list->show();

    QTest::mouseClick(list->buttonNewTask(), Qt::LeftButton);
    QTest::mouseClick(list->buttonBack(), Qt::LeftButton);

    EXPECT_EQ(transitions.calls,
              (QStringList{QStringLiteral("creator"), QStringLiteral("activity")}));
    EXPECT_EQ(list->labelTitle()->text(), Localization::text("TASKS_TITLE_NEW"));
}

TEST_F(TaskListTest, UpdatesFromTheCreatorReloadAndReportOnlyRealRenames)
{
    list->show();
    addTask(QStringLiteral("Write"), TaskInfo::Colors::grass);
    list->taskAdded();
    ASSERT_NE(list->adapters().task(0), nullptr);

    store.updateTaskInfo(QStringLiteral("Write"), QStringLiteral("Draft"));
    list->taskUpdated(QStringLiteral("Write"), QStringLiteral("Draft"));
    EXPECT_EQ(list->adapters().task(0)->name, QStringLiteral("Draft"));

    list->taskUpdated(QStringLiteral("Draft"), QStringLiteral("Draft"));
    EXPECT_EQ(panel.calls, QStringList{QStringLiteral("renamed Write -> Draft")});
}

struct DurationCase {
    const char* name;
    int seconds;
    const char* text;
};

// Pictures of the list and the creator for a look by eye, taken only when ZESTRA_SHOTS names
// a folder.
TEST_F(TaskListTest, Screenshots)
{
    const QString folder = qEnvironmentVariable("ZESTRA_SHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "set ZESTRA_SHOTS to a folder to save pictures";
    ASSERT_TRUE(QDir().mkpath(folder));
    const auto shoot = [&](QWidget& widget, const char* name) {
        widget.show();
        QCoreApplication::processEvents();
        EXPECT_TRUE(widget.grab().save(folder + QStringLiteral("/tasks-") + QLatin1String(name) +
                                       QStringLiteral(".png")));
    };
    list->reloadRows();
    shoot(*list, "list-empty");

    addTask(QStringLiteral("Quarterly report"), TaskInfo::Colors::aqua);
    addTask(QStringLiteral("Inbox zero"), TaskInfo::Colors::orange);
    addTask(QStringLiteral("Read papers"), TaskInfo::Colors::lavander);
    for (int i = 0; i < 5; ++i)
        work(QStringLiteral("Quarterly report"), 1500);
    work(QStringLiteral("Inbox zero"), 1500);
    work(QStringLiteral("Read papers"), 1500);
    work(QStringLiteral("Read papers"), 1500);
    list->hide();
    shoot(*list, "list");

    TaskCreatorViewController creator(store);
    creator.resize(320, 440);
    creator.textfieldName()->setText(QStringLiteral("Write the release notes"));
    creator.textfieldDescription()->setPlainText(
        QStringLiteral("Everything that changed since the last release, in plain words."));
    creator.show();
    creator.colorButton(TaskInfo::Colors::grass)->click();
    // The marker glides; the picture is of where it comes to rest.
    QPropertyAnimation* marker = creator.markerAnimation();
    marker->setCurrentTime(marker->duration());
    ASSERT_EQ(marker->state(), QAbstractAnimation::Stopped);
    shoot(creator, "creator");
}

class DurationTextTest : public ::testing::TestWithParam<DurationCase> {};

TEST_P(DurationTextTest, Formats)
{
    EXPECT_EQ(DurationText::text(GetParam().seconds), QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Durations, DurationTextTest,
    ::testing::Values(DurationCase{"Nothing", 0, ""}, DurationCase{"UnderAMinute", 59, ""},
                      DurationCase{"OneMinute", 60, " 1 min"},
                      DurationCase{"MinutesOnlyKeepTheirBlank", 1500, " 25 min"},
                      DurationCase{"WholeHour", 3600, "1 h"},
                      DurationCase{"HourAndSecondsUnderAMinute", 3659, "1 h"},
                      DurationCase{"HourAndHalf", 5400, "1 h 30 min"},
                      DurationCase{"ManyHours", 36000 + 119, "10 h 1 min"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
