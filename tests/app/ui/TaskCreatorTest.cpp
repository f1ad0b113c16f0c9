#include <gtest/gtest.h>

#include <memory>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QTest>

#include "RecordingTransitions.h"
#include "store/DataController.h"
#include "store/Localization.h"
#include "support/TestEnvironment.h"
#include "ui/TaskCreatorForm.h"
#include "ui/TaskCreatorViewController.h"

namespace {

class RecordingTaskActions : public TaskActionDelegate {
public:
    void editTask(const QString& name) override { calls << QStringLiteral("edit ") + name; }
    void deleteTask(const QString& name) override { calls << QStringLiteral("delete ") + name; }
    void taskAdded() override { calls << QStringLiteral("added"); }
    void taskUpdated(const QString& oldName, const QString& newName) override
    {
        calls << QStringLiteral("updated ") + oldName + QStringLiteral(" -> ") + newName;
    }
    QStringList calls;
};

class TaskCreatorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        creator = std::make_unique<TaskCreatorViewController>(store);
        creator->setDelegate(&list);
        creator->setTransitionDelegate(&transitions);
        creator->resize(320, 440);
        creator->show();
    }

    void typeName(const QString& text) { QTest::keyClicks(creator->textfieldName(), text); }
    void pick(TaskInfo::Colors color)
    {
        QTest::mouseClick(creator->colorButton(color), Qt::LeftButton);
    }
    void save() { QTest::mouseClick(creator->buttonSave(), Qt::LeftButton); }

    void finishMarker() const
    {
        QPropertyAnimation* animation = creator->markerAnimation();
        if (animation->state() == QAbstractAnimation::Running)
            animation->setCurrentTime(animation->duration());
    }
    QPoint markerCentre() const { return creator->viewMarker()->geometry().center(); }
    QPoint swatchCentre(TaskInfo::Colors color) const
    {
        return creator->colorButton(color)->geometry().center();
    }

    TestEnvironment env;
    DataController store{env.dataDirectory()};
    RecordingTaskActions list;
    RecordingTransitions transitions;
    std::unique_ptr<TaskCreatorViewController> creator;
};

TEST_F(TaskCreatorTest, ANameSavedWithoutAClickOnASwatchTakesTheColourTheMarkerShows)
{
    EXPECT_EQ(markerCentre(), swatchCentre(TaskInfo::Colors::red));
    typeName(QStringLiteral("Write"));
    save();

    const auto task = store.fetchTaskInfo(QStringLiteral("Write"));
    ASSERT_TRUE(task);
    EXPECT_EQ(task->color, QStringLiteral("#f72020"));
    EXPECT_FALSE(task->taskDescription);
    EXPECT_EQ(list.calls, QStringList{QStringLiteral("added")});
    EXPECT_EQ(transitions.calls, QStringList{QStringLiteral("list")});
}

TEST_F(TaskCreatorTest, ASecondTaskOfANameIsRefusedWithAMessageUnderTheField)
{
    store.addTaskInfo(TaskInfoParameter(QStringLiteral("Write"), QStringLiteral("#59b6e8")));
    auto* message = creator->findChild<QLabel*>(QStringLiteral("labelNameError"));
    ASSERT_NE(message, nullptr);
    EXPECT_TRUE(message->isHidden());

    typeName(QStringLiteral(" Write"));
    pick(TaskInfo::Colors::pink);
    save();

    EXPECT_TRUE(message->isVisible());
    EXPECT_EQ(message->text(), Localization::text("TASK_CREATOR_NAME_TAKEN"));
    EXPECT_EQ(store.taskNames(), QStringList{QStringLiteral("Write")});
    EXPECT_EQ(store.color(QStringLiteral("Write")), QStringLiteral("#59b6e8"));
    EXPECT_TRUE(list.calls.isEmpty());
    EXPECT_TRUE(transitions.calls.isEmpty());

    // Typing again takes the message away; another name saves.
    typeName(QStringLiteral(" up"));
    EXPECT_TRUE(message->isHidden());
    save();
    EXPECT_TRUE(store.existsTaskInfo(QStringLiteral("Write up")));
    EXPECT_EQ(list.calls, QStringList{QStringLiteral("added")});
}

TEST_F(TaskCreatorTest, RenamingOntoAnotherTaskIsRefusedAndKeepingTheNameIsNot)
{
    store.addTaskInfo(TaskInfoParameter(QStringLiteral("Read"), QStringLiteral("#82cf52")));
    store.addTaskInfo(TaskInfoParameter(QStringLiteral("Write"), QStringLiteral("#ac92ec")));
    auto* message = creator->findChild<QLabel*>(QStringLiteral("labelNameError"));
    ASSERT_NE(message, nullptr);

    creator->editTask(QStringLiteral("Write"));
    creator->textfieldName()->setText(QStringLiteral("Read"));
    save();
    EXPECT_TRUE(message->isVisible());
    EXPECT_EQ(store.taskNames(), (QStringList{QStringLiteral("Read"), QStringLiteral("Write")}));
    EXPECT_EQ(store.color(QStringLiteral("Read")), QStringLiteral("#82cf52"));
    EXPECT_TRUE(list.calls.isEmpty());

    creator->textfieldName()->setText(QStringLiteral("Write"));
    creator->textfieldDescription()->setPlainText(QStringLiteral("Chapter three"));
    save();
    EXPECT_EQ(store.fetchTaskInfo(QStringLiteral("Write"))->taskDescription,
              QStringLiteral("Chapter three"));
    EXPECT_EQ(list.calls, QStringList{QStringLiteral("updated Write -> Write")});
}

TEST_F(TaskCreatorTest, AStoredColourThatNoSwatchHasIsKept)
{
    store.addTaskInfo(TaskInfoParameter(QStringLiteral("Write"), QStringLiteral("#123456")));

    creator->editTask(QStringLiteral("Write"));
    // No swatch claims it, so none is marked.
    EXPECT_TRUE(creator->viewMarker()->isHidden());
    creator->textfieldName()->setText(QStringLiteral("Draft"));
    save();

    EXPECT_EQ(store.color(QStringLiteral("Draft")), QStringLiteral("#123456"));
    EXPECT_EQ(list.calls, QStringList{QStringLiteral("updated Write -> Draft")});
}

TEST_F(TaskCreatorTest, SwatchesGiveTheSixColoursInOrderAndTheMarkerFollows)
{
    const QStringList raw = {QStringLiteral("#f72020"), QStringLiteral("#ffa044"),
                             QStringLiteral("#82cf52"), QStringLiteral("#59b6e8"),
                             QStringLiteral("#ac92ec"), QStringLiteral("#fe2f68")};
    EXPECT_EQ(markerCentre(), swatchCentre(TaskInfo::Colors::red));
    for (int i = 5; i >= 0; --i) {
        const auto color = static_cast<TaskInfo::Colors>(i);
        SCOPED_TRACE(raw[i].toStdString());
        pick(color);
        EXPECT_EQ(creator->form().selectedColor(), raw[i]);
        // It glides there rather than jumping.
        EXPECT_EQ(creator->markerAnimation()->state(), QAbstractAnimation::Running);
        finishMarker();
        EXPECT_EQ(markerCentre(), swatchCentre(color));
    }
}

TEST_F(TaskCreatorTest, ALongDescriptionShowsANegativeCountAndIsSavedWhole)
{
    EXPECT_EQ(creator->labelCharactersLeft()->text(), QStringLiteral("140"));
    const QString description(150, QLatin1Char('x'));
    typeName(QStringLiteral("Write"));
    creator->textfieldDescription()->setPlainText(description);
    EXPECT_EQ(creator->labelCharactersLeft()->text(), QStringLiteral("-10"));

    pick(TaskInfo::Colors::aqua);
    save();

    const auto task = store.fetchTaskInfo(QStringLiteral("Write"));
    ASSERT_TRUE(task);
    EXPECT_EQ(task->taskDescription, description);
}

TEST_F(TaskCreatorTest, BlanksAroundANameAreNotStored)
{
    typeName(QStringLiteral("  Write \t"));
    pick(TaskInfo::Colors::red);
    save();

    EXPECT_EQ(store.taskNames(), QStringList{QStringLiteral("Write")});
    EXPECT_EQ(list.calls, QStringList{QStringLiteral("added")});
}

TEST_F(TaskCreatorTest, AnEmptyOrBlankNameChangesNothing)
{
    pick(TaskInfo::Colors::red);
    save();
    typeName(QStringLiteral("   "));
    save();

    EXPECT_EQ(store.taskNames(), QStringList{});
    EXPECT_TRUE(list.calls.isEmpty());
    EXPECT_TRUE(transitions.calls.isEmpty());
}

TEST_F(TaskCreatorTest, EditingFillsTheFieldsAndSavesUnderTheNewName)
{
    TaskInfoParameter stored(QStringLiteral("Write"), QStringLiteral("#ac92ec"));
    stored.taskDescription = QStringLiteral("Chapter two");
    store.addTaskInfo(stored);

    creator->editTask(QStringLiteral("Write"));

    EXPECT_EQ(creator->textfieldName()->text(), QStringLiteral("Write"));
    EXPECT_EQ(creator->textfieldDescription()->toPlainText(), QStringLiteral("Chapter two"));
    EXPECT_EQ(creator->labelCharactersLeft()->text(), QStringLiteral("129"));
    EXPECT_EQ(creator->form().selectedColor(), QStringLiteral("#ac92ec"));
    EXPECT_EQ(creator->form().oldName(), QStringLiteral("Write"));
    finishMarker();
    EXPECT_EQ(markerCentre(), swatchCentre(TaskInfo::Colors::lavander));

    creator->textfieldName()->setText(QStringLiteral("Draft"));
    creator->textfieldDescription()->clear();
    save();

    EXPECT_FALSE(store.existsTaskInfo(QStringLiteral("Write")));
    const auto task = store.fetchTaskInfo(QStringLiteral("Draft"));
    ASSERT_TRUE(task);
    EXPECT_EQ(task->color, QStringLiteral("#ac92ec"));
    EXPECT_FALSE(task->taskDescription);
    EXPECT_EQ(list.calls, QStringList{QStringLiteral("updated Write -> Draft")});
    EXPECT_EQ(transitions.calls, QStringList{QStringLiteral("list")});
}

TEST_F(TaskCreatorTest, HidingClearsEverythingSoTheNextSaveIsANewTask)
{
    store.addTaskInfo(TaskInfoParameter(QStringLiteral("Write"), QStringLiteral("#59b6e8")));
    creator->editTask(QStringLiteral("Write"));
    finishMarker();

    creator->hide();

    EXPECT_TRUE(creator->textfieldName()->text().isEmpty());
    EXPECT_TRUE(creator->textfieldDescription()->toPlainText().isEmpty());
    EXPECT_EQ(creator->labelCharactersLeft()->text(), QStringLiteral("140"));
    EXPECT_FALSE(creator->form().oldName());
    EXPECT_FALSE(creator->form().selectedColor());
    EXPECT_FALSE(creator->form().taskinfoParameter());
    EXPECT_EQ(markerCentre(), swatchCentre(TaskInfo::Colors::red));

    // Back on red, which is what a save without a click then stores.
    creator->show();
    typeName(QStringLiteral("Read"));
    save();
    EXPECT_TRUE(store.existsTaskInfo(QStringLiteral("Write")));
    EXPECT_EQ(store.color(QStringLiteral("Read")), QStringLiteral("#f72020"));
    EXPECT_EQ(list.calls, QStringList{QStringLiteral("added")});
}

TEST_F(TaskCreatorTest, EditingAnUnknownTaskLeavesAClearedForm)
{
    typeName(QStringLiteral("Half typed"));
    pick(TaskInfo::Colors::pink);

    creator->editTask(QStringLiteral("Nobody"));

    EXPECT_TRUE(creator->textfieldName()->text().isEmpty());
    EXPECT_FALSE(creator->form().selectedColor());
    EXPECT_FALSE(creator->form().oldName());
}

TEST_F(TaskCreatorTest, BackLeavesWithoutSaving)
{
    typeName(QStringLiteral("Write"));
    pick(TaskInfo::Colors::red);
    QTest::mouseClick(creator->buttonBack(), Qt::LeftButton);

    EXPECT_FALSE(store.existsTaskInfo(QStringLiteral("Write")));
    EXPECT_TRUE(list.calls.isEmpty());
    EXPECT_EQ(transitions.calls, QStringList{QStringLiteral("list")});
    EXPECT_EQ(creator->labelTitle()->text(), Localization::text("TASK_CREATOR_TITLE_NEW"));
}

TEST(TaskCreatorFormTest, AnInvalidFormKeepsThePreviousParameter)
{
    TaskCreatorForm form;
    form.setName(QStringLiteral("Write"));
    ASSERT_TRUE(form.taskinfoParameter());
    EXPECT_EQ(form.taskinfoParameter()->color, QStringLiteral("#f72020"));
    form.chooseColor(TaskInfo::Colors::orange);
    ASSERT_TRUE(form.rebuildParameter());

    form.setName(QStringLiteral(" "));

    EXPECT_FALSE(form.rebuildParameter());
    ASSERT_TRUE(form.taskinfoParameter());
    EXPECT_EQ(form.taskinfoParameter()->name, QStringLiteral("Write"));
    EXPECT_EQ(form.taskinfoParameter()->color, QStringLiteral("#ffa044"));
}

TEST(TaskCreatorFormTest, CharactersLeftCountWhatTheUserSees)
{
    struct Case {
        QString description;
        int left;
    };
    const QList<Case> cases = {
        {QString(), 140},
        {QString(140, QLatin1Char('a')), 0},
        {QString(150, QLatin1Char('a')), -10},
        // A thumbs-up with a skin tone, and an e with a combining accent: one each.
        {QString::fromUtf8("\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD"), 139},
        {QString::fromUtf8("e\xCC\x81"), 139},
    };
    TaskCreatorForm form;
    for (const Case& c : cases) {
        form.setDescription(c.description);
        EXPECT_EQ(form.charactersLeft(), c.left) << c.description.toStdString();
    }
}

} // namespace
