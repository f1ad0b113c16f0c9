#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include "settings/Settings.h"
#include "store/Localization.h"
#include "support/TestEnvironment.h"
#include "ui/GeneralPreferences.h"
#include "ui/GeneralPreferencesViewController.h"
#include "ui/SettingsWindowController.h"
#include "ui/ThiefPreferencesViewController.h"

namespace {

QStringList items(const QComboBox* combo)
{
    QStringList texts;
    for (int index = 0; index < combo->count(); ++index)
        texts.append(combo->itemText(index));
    return texts;
}

const QStringList ListedGoals = {"4", "8", "12", "16", "20", "24", "28", "32"};

class GeneralPaneTest : public ::testing::Test {
protected:
    void SetUp() override { settings.registerApplicationDefaults(); }

    GeneralPreferences::Hooks hooks()
    {
        return {[this](int n) { sessionTotals.append(n); }, [this](int n) { goalTotals.append(n); },
                [this](bool show) {
                    dockRequests.append(show);
                    return dockSwitchWorks;
                }};
    }

    std::unique_ptr<GeneralPreferencesViewController> openPane()
    {
        return std::make_unique<GeneralPreferencesViewController>(settings, hooks());
    }

    bool fileWritten() const { return QFile::exists(settings.filePath()); }

    TestEnvironment env;
    Settings settings;
    QList<int> sessionTotals;
    QList<int> goalTotals;
    QList<bool> dockRequests;
    bool dockSwitchWorks = true;
};

TEST_F(GeneralPaneTest, FreshStoreShowsTheDefaultsWithoutWritingAnything)
{
    auto pane = openPane();
    EXPECT_EQ(pane->sliderTaskTime->value(), 25);
    EXPECT_EQ(pane->sliderShortBreak->value(), 5);
    EXPECT_EQ(pane->sliderLongBreak->value(), 20);
    EXPECT_EQ(pane->valueTaskTime->text(), QStringLiteral("25 min"));
    EXPECT_EQ(pane->valueShortBreak->text(), QStringLiteral("5 min"));
    EXPECT_EQ(items(pane->comboTaskQuantity), QStringList({"3", "4", "5", "6", "7", "8"}));
    EXPECT_EQ(pane->comboTaskQuantity->currentText(), QStringLiteral("4"));
    EXPECT_EQ(items(pane->comboGoalTask), ListedGoals);
    EXPECT_EQ(pane->comboGoalTask->currentText(), QStringLiteral("12"));
    EXPECT_FALSE(pane->checkShowDockIcon->isChecked());
    for (QCheckBox* on : {pane->checkShowNotification, pane->checkTaskSound, pane->checkBreakSound,
                          pane->checkAutoStartPomodoro, pane->checkStartAtLaunch})
        EXPECT_TRUE(on->isChecked()) << on->text().toStdString();

    EXPECT_FALSE(fileWritten());
    EXPECT_TRUE(sessionTotals.isEmpty());
    EXPECT_TRUE(goalTotals.isEmpty());
    EXPECT_TRUE(dockRequests.isEmpty());
}

TEST_F(GeneralPaneTest, LabelsComeFromTheCatalogue)
{
    auto pane = openPane();
    EXPECT_EQ(pane->labelTaskTimeDescription->text(), QStringLiteral("Task length:"));
    EXPECT_EQ(pane->labelAdvice->text(), Localization::text("SETTINGS_PROPERTIES_ADVICE"));
    EXPECT_NE(pane->labelAdvice->text(), QStringLiteral("SETTINGS_PROPERTIES_ADVICE"));
    EXPECT_EQ(pane->labelAdvice->palette().color(QPalette::WindowText), QColor("#999999"));
}

TEST_F(GeneralPaneTest, TypedGoalFrom1To54IsStoredAndListedAtTheNextLoad)
{
    auto pane = openPane();
    pane->comboGoalTask->lineEdit()->setText(QStringLiteral("54"));
    EXPECT_EQ(settings.intValue(Settings::PomodoroTodayGoal), 54);
    EXPECT_EQ(goalTotals.last(), 54);
    // Typed goals are not added to the open list.
    EXPECT_EQ(items(pane->comboGoalTask), ListedGoals);

    auto reopened = openPane();
    EXPECT_EQ(items(reopened->comboGoalTask), ListedGoals + QStringList{"54"});
    EXPECT_EQ(reopened->comboGoalTask->currentText(), QStringLiteral("54"));
}

TEST_F(GeneralPaneTest, GoalOutsideTheRangeOrNotANumberIsIgnored)
{
    settings.setInt(Settings::PomodoroTodayGoal, 16);
    auto pane = openPane();
    for (const char* typed : {"60", "55", "0", "-3", "abc", "", "12.5", "0x10"}) {
        pane->comboGoalTask->lineEdit()->setText(QString::fromLatin1(typed));
        emit pane->comboGoalTask->lineEdit()->editingFinished();
        EXPECT_EQ(settings.intValue(Settings::PomodoroTodayGoal), 16) << typed;
    }
    EXPECT_TRUE(goalTotals.isEmpty());
}

TEST_F(GeneralPaneTest, GoalChosenFromTheListOrTypedKeyByKeyIsStored)
{
    auto pane = openPane();
    pane->comboGoalTask->setCurrentIndex(static_cast<int>(ListedGoals.indexOf("24")));
    EXPECT_EQ(settings.intValue(Settings::PomodoroTodayGoal), 24);

    pane->comboGoalTask->lineEdit()->clear();
    QTest::keyClicks(pane->comboGoalTask->lineEdit(), QStringLiteral("1"));
    QTest::keyClicks(pane->comboGoalTask->lineEdit(), QStringLiteral("0"));
    QTest::keyClick(pane->comboGoalTask->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(settings.intValue(Settings::PomodoroTodayGoal), 10);
    EXPECT_EQ(goalTotals.last(), 10);
}

TEST_F(GeneralPaneTest, SessionChoiceIsStoredAndHandedToTheCounter)
{
    auto pane = openPane();
    pane->comboTaskQuantity->setFocus();
    QTest::keyClick(pane->comboTaskQuantity, Qt::Key_Down);
    EXPECT_EQ(settings.intValue(Settings::PomodorSessionTasks), 5);
    QTest::keyClick(pane->comboTaskQuantity, Qt::Key_End);
    EXPECT_EQ(settings.intValue(Settings::PomodorSessionTasks), 8);
    EXPECT_EQ(sessionTotals, QList<int>({5, 8}));
}

TEST_F(GeneralPaneTest, StoredSessionSizeSelectsItsItemOrNothing)
{
    const std::pair<int, int> rows[] = {{3, 0}, {8, 5}, {9, -1}, {2, -1}, {0, -1}};
    for (const auto& [stored, index] : rows) {
        settings.setInt(Settings::PomodorSessionTasks, stored);
        EXPECT_EQ(openPane()->comboTaskQuantity->currentIndex(), index) << stored;
    }
}

TEST_F(GeneralPaneTest, SlidersWriteWholeMinutes)
{
    auto pane = openPane();
    struct Row {
        QSlider* slider;
        QLabel* value;
        const char* key;
        int minutes;
    };
    const Row rows[] = {
        {pane->sliderTaskTime, pane->valueTaskTime, Settings::PomodoroTaskTime, 50},
        {pane->sliderShortBreak, pane->valueShortBreak, Settings::PomodoroLittleBreakTime, 3},
        {pane->sliderLongBreak, pane->valueLongBreak, Settings::PomodoroBigBreakTime, 45},
    };
    for (const Row& row : rows) {
        row.slider->setValue(row.minutes);
        EXPECT_EQ(settings.intValue(row.key), row.minutes) << row.key;
        QTest::keyClick(row.slider, Qt::Key_Right);
        EXPECT_EQ(settings.intValue(row.key), row.minutes + 1) << row.key;
        EXPECT_EQ(row.value->text(), QStringLiteral("%1 min").arg(row.minutes + 1));
    }
    EXPECT_EQ(openPane()->sliderTaskTime->value(), 51);
}

TEST_F(GeneralPaneTest, CheckBoxesWriteTheirKeys)
{
    auto pane = openPane();
    const std::pair<QCheckBox*, const char*> rows[] = {
        {pane->checkShowNotification, Settings::ShowNotifications},
        {pane->checkTaskSound, Settings::PomodoroSoundAtEnd},
        {pane->checkBreakSound, Settings::BreakSoundAtEnd},
        {pane->checkAutoStartPomodoro, Settings::PomodoroAutoStart},
        {pane->checkStartAtLaunch, Settings::PomodoroStartLaunch},
    };
    for (const auto& [check, key] : rows) {
        QTest::keyClick(check, Qt::Key_Space);
        EXPECT_FALSE(settings.boolValue(key)) << key;
        QTest::keyClick(check, Qt::Key_Space);
        EXPECT_TRUE(settings.boolValue(key)) << key;
        // Only a full tick is on.
        check->setTristate(true);
        check->setCheckState(Qt::PartiallyChecked);
        EXPECT_FALSE(settings.boolValue(key)) << key;
    }
    EXPECT_FALSE(settings.boolValue(Settings::ShowDockIcon));
}

TEST_F(GeneralPaneTest, DockIconIsStoredOnlyWhenTheSwitchWorks)
{
    dockSwitchWorks = false;
    auto pane = openPane();
    QTest::keyClick(pane->checkShowDockIcon, Qt::Key_Space);
    EXPECT_EQ(dockRequests, QList<bool>({true}));
    EXPECT_FALSE(fileWritten());
    EXPECT_FALSE(pane->checkShowDockIcon->isChecked());

    dockSwitchWorks = true;
    QTest::keyClick(pane->checkShowDockIcon, Qt::Key_Space);
    EXPECT_TRUE(settings.boolValue(Settings::ShowDockIcon));
    EXPECT_TRUE(pane->checkShowDockIcon->isChecked());

    QTest::keyClick(pane->checkShowDockIcon, Qt::Key_Space);
    EXPECT_FALSE(settings.boolValue(Settings::ShowDockIcon));
    EXPECT_EQ(dockRequests, QList<bool>({true, true, false}));
}

TEST(GeneralPreferencesTest, GoalTextIsADecimalNumberFrom1To54)
{
    const std::pair<const char*, std::optional<int>> rows[] = {
        {"1", 1},
        {"54", 54},
        {" 20 ", 20},
        {"55", std::nullopt},
        {"0", std::nullopt},
        {"-3", std::nullopt},
        {"", std::nullopt},
        {"abc", std::nullopt},
        {"4a", std::nullopt},
        {"1e1", std::nullopt},
        {"99999999999", std::nullopt},
    };
    for (const auto& [text, goal] : rows)
        EXPECT_EQ(GeneralPreferences::parseGoal(QString::fromLatin1(text)), goal) << text;
}

TEST(GeneralPreferencesTest, GoalListAppendsAStoredValueThatIsNotListed)
{
    EXPECT_EQ(GeneralPreferences::goalItems(12), ListedGoals);
    EXPECT_EQ(GeneralPreferences::goalItems(32), ListedGoals);
    EXPECT_EQ(GeneralPreferences::goalItems(1), ListedGoals + QStringList{"1"});
    EXPECT_EQ(GeneralPreferences::goalItems(54), ListedGoals + QStringList{"54"});
}

TEST_F(GeneralPaneTest, SessionTitleThatIsNoNumberIsIgnored)
{
    GeneralPreferences preferences(settings, hooks());
    EXPECT_FALSE(preferences.selectSession(QStringLiteral("six")));
    EXPECT_TRUE(sessionTotals.isEmpty());
    EXPECT_FALSE(fileWritten());
}

class SettingsWindowTest : public GeneralPaneTest {
protected:
    std::unique_ptr<SettingsWindowController> openWindow()
    {
        return std::make_unique<SettingsWindowController>(
            settings,
            SettingsWindowController::Hooks{hooks(),
                                            [this](bool allowed) { scanRequests.append(allowed); },
                                            [this] { return canSee; },
                                            {}});
    }

    QList<bool> scanRequests;
    bool canSee = true;
};

TEST_F(SettingsWindowTest, OpensOnTheThiefPaneAndSwitchesWithTheButtons)
{
    auto window = openWindow();
    EXPECT_EQ(window->windowTitle(), Localization::text("SETTINGS_WINDOW_TITLE"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Settings"));
    EXPECT_EQ(window->content(), window->viewcontrollerThief.data());
    EXPECT_TRUE(window->buttonThief->isChecked());

    QTest::mouseClick(window->buttonGeneral, Qt::LeftButton);
    EXPECT_EQ(window->content(), window->viewcontrollerGeneral.data());
    EXPECT_TRUE(window->buttonGeneral->isChecked());
    EXPECT_FALSE(window->buttonThief->isChecked());

    QTest::mouseClick(window->buttonThief, Qt::LeftButton);
    EXPECT_EQ(window->content(), window->viewcontrollerThief.data());
}

TEST_F(SettingsWindowTest, GeneralPaneShowsWhatWasStoredMeanwhile)
{
    auto window = openWindow();
    // As zestra-cli would, while the window is open.
    settings.setInt(Settings::PomodoroTaskTime, 40);
    window->handleGeneralPreferencesButtonClick();
    EXPECT_EQ(window->viewcontrollerGeneral->sliderTaskTime->value(), 40);
}

TEST_F(SettingsWindowTest, ThiefCheckBoxStoresTheUsersPermission)
{
    auto window = openWindow();
    QCheckBox* check = window->viewcontrollerThief->checkAllowScan;
    EXPECT_FALSE(check->isChecked());
    QTest::keyClick(check, Qt::Key_Space);
    EXPECT_TRUE(settings.boolValue(Settings::ThievesScanAllowByUser));
    QTest::keyClick(check, Qt::Key_Space);
    EXPECT_FALSE(settings.boolValue(Settings::ThievesScanAllowByUser));
    EXPECT_EQ(scanRequests, QList<bool>({true, false}));

    EXPECT_FALSE(window->viewcontrollerThief->labelUnsupported->isVisibleTo(window.get()));

    settings.setBool(Settings::ThievesScanAllowByUser, true);
    canSee = false;
    auto again = openWindow();
    EXPECT_TRUE(again->viewcontrollerThief->checkAllowScan->isChecked());
    EXPECT_TRUE(again->viewcontrollerThief->labelUnsupported->isVisibleTo(again.get()));
    EXPECT_EQ(scanRequests.size(), 2);
}

// Pictures for a person to look at; only when asked for.
TEST_F(SettingsWindowTest, Screenshots)
{
    const QString folder = qEnvironmentVariable("ZESTRA_SHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "set ZESTRA_SHOTS to a folder to save pictures";
    QDir().mkpath(folder);
    auto window = openWindow();
    window->show();
    window->resize(window->sizeHint());
    EXPECT_TRUE(window->grab().save(folder + QStringLiteral("/settings-thieves.png")));
    window->handleGeneralPreferencesButtonClick();
    EXPECT_TRUE(window->grab().save(folder + QStringLiteral("/settings-general.png")));
}

} // namespace
