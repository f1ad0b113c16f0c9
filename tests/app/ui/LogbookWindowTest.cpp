#include <gtest/gtest.h>

#include <memory>

#include <QAction>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDir>
#include <QEnterEvent>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QTest>
#include <QTextCharFormat>
#include <QToolButton>

#include "NotificationCenter.h"
#include "cloud/CloudNotifications.h"
#include "reports/LogbookLoader.h"
#include "store/DataController.h"
#include "support/ManualClock.h"
#include "support/TestEnvironment.h"
#include "ui/BitacoraDatePicker.h"
#include "ui/BitacoraWindowController.h"
#include "ui/EmptyCell.h"
#include "ui/LogbookCell.h"
#include "ui/MessageBox.h"
#include "ui/RenameViewController.h"
#include "ui/StartCell.h"
#include "ui/TaskCell.h"

namespace {

class LogbookWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        env.clock().setNow(TestEnvironment::localTime(QStringLiteral("2026-06-10T18:00:00")));
        store = std::make_unique<DataController>(env.dataDirectory());
        MessageBox::setPresenter([this](const MessageBox::Alert& alert) { alerts.append(alert); });
    }
    void TearDown() override
    {
        window.reset();
        MessageBox::setPresenter(nullptr);
        store.reset();
    }

    static double at(const char* isoLocal)
    {
        return TestEnvironment::localTime(QString::fromLatin1(isoLocal));
    }

    void addTaskInfo(const QString& name)
    {
        store->addTaskInfo(TaskInfoParameter(name, QStringLiteral("#59b6e8")));
    }

    void work(const char* startLocal, int seconds, const std::optional<QString>& name)
    {
        TaskParameter parameter;
        parameter.startTime = at(startLocal);
        parameter.endTime = at(startLocal) + seconds;
        parameter.duration = seconds;
        parameter.freeTimeDuration = 300;
        parameter.taskName = name;
        store->addTask(parameter);
    }

    // Opens the window and waits for the rows of its first reload.
    void open()
    {
        window = std::make_unique<BitacoraWindowController>(*store);
        QObject::connect(window.get(), &BitacoraWindowController::rowsInstalled, window.get(),
                         [this] { ++installs; });
        window->show();
        waitForRows();
    }

    // Rows installed after `before` installs; by default, after the ones there are now.
    void waitForRows(std::optional<int> before = std::nullopt)
    {
        const int count = before.value_or(installs);
        ASSERT_TRUE(processEventsUntil([&] { return installs > count; }));
        // The loader has nothing newer on its way.
        QCoreApplication::processEvents();
    }

    QWidget* cell(int row) const
    {
        QListWidget* table = window->tablePomodoros();
        return table->itemWidget(table->item(row));
    }
    TaskCell* taskCell(int row) const { return qobject_cast<TaskCell*>(cell(row)); }
    int rowHeight(int row) const
    {
        return window->tablePomodoros()->item(row)->sizeHint().height();
    }

    int storedPomodoros()
    {
        return static_cast<int>(store->pomodorosForDate(Date(at("2026-06-10T12:00:00")))
                                    .value_or(QList<Pomodoro>{})
                                    .size());
    }

    TestEnvironment env{"Europe/Madrid"};
    std::unique_ptr<DataController> store;
    std::unique_ptr<BitacoraWindowController> window;
    QList<MessageBox::Alert> alerts;
    int installs = 0;
};

TEST_F(LogbookWindowTest, AnEmptyDayShowsOneTallRowAndNothingToReportOrExport)
{
    open();
    ASSERT_EQ(window->tablePomodoros()->count(), 1);
    EXPECT_NE(qobject_cast<EmptyCell*>(cell(0)), nullptr);
    EXPECT_EQ(rowHeight(0), 400);
    EXPECT_FALSE(window->buttonReport()->isEnabled());
    EXPECT_FALSE(window->buttonExport()->isEnabled());
    EXPECT_EQ(window->labelDay()->text(), QStringLiteral("Today"));
    EXPECT_FALSE(window->buttonNextDay()->isEnabled());
    EXPECT_TRUE(window->buttonPreviousDay()->isEnabled());
}

TEST_F(LogbookWindowTest, RowsShowRunningTotalsNewestFirstWithTheStartLast)
{
    // A name that looks like markup is shown as it was typed.
    const QString markup = QStringLiteral("<i>Deep</i> work");
    addTaskInfo(markup);
    addTaskInfo(QStringLiteral("B"));
    work("2026-06-10T09:00:00", 1500, markup);
    work("2026-06-10T09:30:00", 150, QStringLiteral("B"));
    work("2026-06-10T10:00:00", 1500, markup);
    work("2026-06-10T10:30:00", 1500, std::nullopt);
    store->addSession(at("2026-06-10T10:28:00"), 3);
    open();

    ASSERT_EQ(window->tablePomodoros()->count(), 6);
    ASSERT_NE(taskCell(0), nullptr);
    EXPECT_EQ(taskCell(0)->labelTaskName()->text(), QStringLiteral("Undefined task"));
    EXPECT_EQ(taskCell(0)->labelIterations()->text(), QStringLiteral("0"));
    EXPECT_EQ(taskCell(0)->labelTime()->text(), QStringLiteral("0 minutes"));
    EXPECT_EQ(qobject_cast<TaskCell*>(cell(1)), nullptr); // the session
    EXPECT_EQ(taskCell(2)->labelTaskName()->text(), markup);
    EXPECT_EQ(taskCell(2)->labelTaskName()->textFormat(), Qt::PlainText);
    EXPECT_EQ(taskCell(2)->labelIterations()->text(), QStringLiteral("2"));
    EXPECT_EQ(taskCell(2)->labelTime()->text(), QStringLiteral("50 minutes"));
    EXPECT_EQ(taskCell(3)->labelTaskName()->text(), QStringLiteral("B"));
    EXPECT_EQ(taskCell(3)->labelTime()->text(), QStringLiteral("2 minutes"));
    EXPECT_EQ(taskCell(4)->labelIterations()->text(), QStringLiteral("1"));
    auto* start = qobject_cast<StartCell*>(cell(5));
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(start->labelTime()->text(), LogbookCell::shortTime(at("2026-06-10T09:00:00")));
    for (int row = 0; row < 6; ++row)
        EXPECT_EQ(rowHeight(row), 100) << row;
    EXPECT_TRUE(window->buttonReport()->isEnabled());
    EXPECT_TRUE(window->buttonExport()->isEnabled());
}

TEST_F(LogbookWindowTest, ADayWithOnlyASessionHasNothingToReport)
{
    store->addSession(at("2026-06-10T11:00:00"), 4);
    open();
    ASSERT_EQ(window->tablePomodoros()->count(), 2);
    EXPECT_NE(qobject_cast<StartCell*>(cell(1)), nullptr);
    EXPECT_FALSE(window->buttonReport()->isEnabled());
    EXPECT_FALSE(window->buttonExport()->isEnabled());
}

TEST_F(LogbookWindowTest, DaysMoveByButtonsAndKeysAndNextStopsAtToday)
{
    work("2026-06-08T09:00:00", 1500, std::nullopt);
    open();
    QTest::mouseClick(window->buttonPreviousDay(), Qt::LeftButton);
    waitForRows();
    EXPECT_EQ(window->labelDay()->text(), QStringLiteral("Yesterday"));
    EXPECT_TRUE(window->buttonNextDay()->isEnabled());

    QApplication::setActiveWindow(window.get());
    QTest::keyClick(window.get(), Qt::Key_Left, Qt::AltModifier);
    waitForRows();
    EXPECT_EQ(window->labelDay()->text(),
              QLocale::system().toString(QDate(2026, 6, 8), QStringLiteral("d MMM")));
    EXPECT_EQ(window->tablePomodoros()->count(), 2);
    EXPECT_TRUE(window->buttonReport()->isEnabled());

    QTest::keyClick(window.get(), Qt::Key_T, Qt::ControlModifier);
    waitForRows();
    EXPECT_EQ(window->labelDay()->text(), QStringLiteral("Today"));
    EXPECT_FALSE(window->buttonNextDay()->isEnabled());
    // Past today the keys do nothing.
    const quint64 generation = window->loader()->generation();
    QTest::keyClick(window.get(), Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(window->loader()->generation(), generation);
    EXPECT_TRUE(window->fecha().isToday());
    EXPECT_TRUE(window->buttonPreviousDay()->toolTip().contains(
        QKeySequence(Qt::ALT | Qt::Key_Left).toString(QKeySequence::NativeText)));
}

TEST_F(LogbookWindowTest, OnlyCloudChangesStrictlyInsideTheDayReload)
{
    open();
    const quint64 before = window->loader()->generation();
    auto& center = NotificationCenter::defaultCenter();
    const auto post = [&](const char* name, double moment) {
        center.post(QString::fromLatin1(name), {{QStringLiteral("date"), moment}});
        QCoreApplication::processEvents();
    };
    post(ZestraCloudTaskCreated, at("2026-06-10T00:00:00"));
    post(ZestraCloudSessionCreated, at("2026-06-11T00:00:00"));
    post(ZestraCloudGoalCreated, at("2026-06-09T12:00:00"));
    post(ZestraCloudTaskInfoCreated, at("2026-06-10T12:00:00"));
    center.post(QString::fromLatin1(ZestraCloudTaskDeleted), {});
    EXPECT_EQ(window->loader()->generation(), before);

    work("2026-06-10T12:00:00", 1500, std::nullopt);
    const int shown = installs;
    post(ZestraCloudTaskCreated, at("2026-06-10T00:00:00.001"));
    EXPECT_EQ(window->loader()->generation(), before + 1);
    waitForRows(shown);
    EXPECT_EQ(window->tablePomodoros()->count(), 2);
}

TEST_F(LogbookWindowTest, TheDeleteKeyRemovesTheSelectedIntervalWithoutAsking)
{
    work("2026-06-10T09:00:00", 1500, std::nullopt);
    work("2026-06-10T10:00:00", 1500, std::nullopt);
    open();
    QListWidget* table = window->tablePomodoros();
    // The start row cannot be selected, so the key leaves it alone.
    table->setCurrentRow(2);
    QTest::keyClick(table, Qt::Key_Delete);
    EXPECT_EQ(storedPomodoros(), 2);

    table->setCurrentRow(0);
    EXPECT_TRUE(taskCell(0)->isSelected());
    QTest::keyClick(table, Qt::Key_Delete);
    EXPECT_EQ(storedPomodoros(), 1);
    waitForRows();
    EXPECT_EQ(table->count(), 2);
    EXPECT_TRUE(alerts.isEmpty());
}

TEST_F(LogbookWindowTest, TheRowMenuAndTheHoverButtonDelete)
{
    work("2026-06-10T09:00:00", 1500, std::nullopt);
    work("2026-06-10T10:00:00", 1500, std::nullopt);
    open();
    EXPECT_EQ(window->contextMenu(2), nullptr);
    std::unique_ptr<QMenu> menu = window->contextMenu(1);
    ASSERT_NE(menu, nullptr);
    QAction* remove = menu->actions().constLast();
    EXPECT_EQ(remove->text(), QStringLiteral("Delete"));
    EXPECT_FALSE(remove->icon().isNull());
    remove->trigger();
    EXPECT_EQ(storedPomodoros(), 1);
    waitForRows();

    TaskCell* row = taskCell(0);
    ASSERT_NE(row, nullptr);
    EXPECT_FALSE(row->buttonDelete()->isVisible());
    EXPECT_EQ(row->renameOpacity(), 0.0);
    QEnterEvent enter(QPointF(10, 10), QPointF(10, 10), QPointF(10, 10));
    QCoreApplication::sendEvent(row, &enter);
    EXPECT_TRUE(row->buttonDelete()->isVisible());
    QTest::mouseClick(row->buttonDelete(), Qt::LeftButton);
    waitForRows();
    EXPECT_EQ(storedPomodoros(), 0);
    EXPECT_NE(qobject_cast<EmptyCell*>(cell(0)), nullptr);
}

TEST_F(LogbookWindowTest, RenameStoresTheTrimmedTaskAndTheRowShowsIt)
{
    addTaskInfo(QStringLiteral("Email"));
    addTaskInfo(QStringLiteral("Review"));
    work("2026-06-10T09:00:00", 1500, QStringLiteral("Email"));
    open();
    TaskCell* row = taskCell(0);
    ASSERT_NE(row, nullptr);
    EXPECT_FALSE(row->buttonRename()->isVisible());
    QEnterEvent enter(QPointF(10, 10), QPointF(10, 10), QPointF(10, 10));
    QCoreApplication::sendEvent(row, &enter);
    ASSERT_TRUE(row->buttonRename()->isVisible());
    QTest::mouseClick(row->buttonRename(), Qt::LeftButton);
    RenameViewController* popover = window->renamePopover();
    ASSERT_NE(popover, nullptr);
    ASSERT_TRUE(popover->isVisible());
    EXPECT_TRUE(popover->windowFlags().testFlag(Qt::Popup));
    EXPECT_GE(popover->x(),
              row->buttonRename()->mapToGlobal(QPoint(0, 0)).x() + row->buttonRename()->width());
    EXPECT_EQ(popover->comboTaskName()->count(), 2);

    // A name the catalogue does not know changes nothing and says why.
    popover->comboTaskName()->setEditText(QStringLiteral("Nope"));
    QTest::keyClick(popover->comboTaskName()->lineEdit(), Qt::Key_Return);
    EXPECT_TRUE(popover->isVisible());
    EXPECT_TRUE(popover->labelHelp()->text().contains(QStringLiteral("Nope")));

    popover->comboTaskName()->setEditText(QStringLiteral("  Review\t "));
    QTest::keyClick(popover->comboTaskName()->lineEdit(), Qt::Key_Return);
    EXPECT_FALSE(popover->isVisible());
    EXPECT_EQ(row->labelTaskName()->text(), QStringLiteral("Review"));
    const auto stored = store->pomodorosForDate(Date(at("2026-06-10T12:00:00")));
    ASSERT_TRUE(stored && stored->size() == 1);
    EXPECT_EQ(stored->first().taskInfoName, QStringLiteral("Review"));
    // Once the name has faded in, the totals are read again.
    for (auto* fade : row->findChildren<QPropertyAnimation*>()) {
        if (fade->state() == QAbstractAnimation::Running)
            fade->setCurrentTime(fade->duration());
    }
    waitForRows();
    EXPECT_EQ(taskCell(0)->labelTaskName()->text(), QStringLiteral("Review"));
}

TEST_F(LogbookWindowTest, AFailedExportIsToldAndNotTakenForSuccess)
{
    work("2026-06-10T09:00:00", 1500, std::nullopt);
    open();
    QTest::mouseClick(window->buttonExport(), Qt::LeftButton);
    auto* dialog = window->findChild<QFileDialog*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Export day as CSV"));
    EXPECT_EQ(dialog->labelText(QFileDialog::Accept), QStringLiteral("Export"));

    const QString missing = env.root() + QStringLiteral("/no-such-folder/day.csv");
    emit dialog->fileSelected(missing);
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_EQ(alerts.first().message, QStringLiteral("The day could not be exported"));
    EXPECT_FALSE(alerts.first().informativeText.isEmpty());
    EXPECT_FALSE(QFile::exists(missing));

    const QString good = env.root() + QStringLiteral("/day.csv");
    EXPECT_TRUE(window->exportTo(good));
    EXPECT_EQ(alerts.size(), 1);
    QFile written(good);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll().count('\n'), 1);
}

TEST_F(LogbookWindowTest, TheReportButtonAsksForTheDayShown)
{
    work("2026-06-09T09:00:00", 1500, std::nullopt);
    open();
    QList<Date> asked;
    QObject::connect(window.get(), &BitacoraWindowController::reportRequested, window.get(),
                     [&asked](Date day) { asked.append(day); });
    window->doPreviusDateButtonTap();
    waitForRows();
    QTest::mouseClick(window->buttonReport(), Qt::LeftButton);
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked.first().beginningOfDay(), Date(at("2026-06-09T00:00:00")));
}

TEST_F(LogbookWindowTest, TheCalendarMarksDaysWithRecordsAndOpensTheOneChosen)
{
    work("2026-06-03T09:00:00", 1500, std::nullopt);
    work("2026-06-03T10:00:00", 1500, std::nullopt);
    work("2026-06-07T23:30:00", 1500, std::nullopt);
    open();
    window->buttonCalendar()->openCalendar();
    QCalendarWidget* calendar = window->buttonCalendar()->calendar();
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(window->buttonCalendar()->markedDays(),
              (QSet<QDate>{QDate(2026, 6, 3), QDate(2026, 6, 7)}));
    EXPECT_EQ(calendar->dateTextFormat(QDate(2026, 6, 3)).fontWeight(), QFont::Bold);
    EXPECT_NE(calendar->dateTextFormat(QDate(2026, 6, 4)).fontWeight(), QFont::Bold);
    EXPECT_EQ(calendar->selectedDate(), QDate(2026, 6, 10));

    emit calendar->clicked(QDate(2026, 6, 3));
    waitForRows();
    EXPECT_EQ(window->fecha().toDateTime().date(), QDate(2026, 6, 3));
    EXPECT_EQ(window->tablePomodoros()->count(), 3);
}

} // namespace

namespace {

TEST_F(LogbookWindowTest, Screenshot)
{
    const QString folder = qEnvironmentVariable("ZESTRA_SHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "set ZESTRA_SHOTS to a folder to save pictures";
    ASSERT_TRUE(QDir().mkpath(folder));
    const QStringList tasks = {QStringLiteral("Quarterly report"), QStringLiteral("Code review"),
                               QStringLiteral("Write chapter 3"), QStringLiteral("Email")};
    for (const QString& task : tasks)
        addTaskInfo(task);
    const char* starts[] = {"2026-06-10T08:40:00", "2026-06-10T09:10:00", "2026-06-10T09:40:00",
                            "2026-06-10T10:10:00", "2026-06-10T11:00:00", "2026-06-10T11:30:00",
                            "2026-06-10T12:00:00", "2026-06-10T13:45:00"};
    const int order[] = {0, 1, 2, 0, 3, 0, 2, 1};
    for (int i = 0; i < 8; ++i)
        work(starts[i], 1500, tasks.at(order[i]));
    store->addSession(at("2026-06-10T10:35:00"), 4);
    store->addSession(at("2026-06-10T14:10:00"), 4);
    store->addGoal(at("2026-06-10T14:10:30"), 8);
    open();
    window->resize(440, 700);
    QCoreApplication::processEvents();
    QEnterEvent enter(QPointF(10, 10), QPointF(10, 10), QPointF(10, 10));
    QCoreApplication::sendEvent(taskCell(3), &enter);
    for (auto* fade : taskCell(3)->findChildren<QPropertyAnimation*>())
        fade->setCurrentTime(fade->duration());
    QCoreApplication::processEvents();
    EXPECT_TRUE(window->grab().save(folder + QStringLiteral("/logbook.png")));

    QTest::mouseClick(taskCell(3)->buttonRename(), Qt::LeftButton);
    ASSERT_NE(window->renamePopover(), nullptr);
    QCoreApplication::processEvents();
    EXPECT_TRUE(
        window->renamePopover()->grab().save(folder + QStringLiteral("/logbook-rename.png")));
    window->buttonCalendar()->openCalendar();
    QCoreApplication::processEvents();
    EXPECT_TRUE(window->buttonCalendar()->calendar()->window()->grab().save(
        folder + QStringLiteral("/logbook-calendar.png")));
}

} // namespace
