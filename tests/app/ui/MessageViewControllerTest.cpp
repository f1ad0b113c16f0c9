#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include "ColorHelpers.h"
#include "RecordingTransitions.h"
#include "store/Localization.h"
#include "support/TestEnvironment.h"
#include "ui/MessageViewController.h"

namespace {

class MessageViewControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(320, 440);
        auto* column = new QVBoxLayout(&window);
        column->setContentsMargins(0, 0, 0, 0);
        column->addWidget(message = new MessageViewController);
        message->setTransitionDelegate(&transitions);
        window.show();
    }

    QWidget window;
    MessageViewController* message = nullptr;
    RecordingTransitions transitions;
};

TEST_F(MessageViewControllerTest, WelcomeFillsEveryPart)
{
    EXPECT_TRUE(message->buttonCallToAction()->isHidden());
    message->configure(MessageViewController::Kind::welcome);

    EXPECT_EQ(message->labelTitle()->text(), Localization::text("MESSAGE_TITLE_WELCOME"));
    EXPECT_EQ(message->labelDescription()->text(), Localization::text("MESSAGE_TEXT_WELCOME"));
    EXPECT_EQ(message->buttonCallToAction()->text(), Localization::text("MESSAGE_CTA_WELCOME"));
    EXPECT_NE(message->buttonCallToAction()->text(), QStringLiteral("MESSAGE_CTA_WELCOME"));
    EXPECT_TRUE(message->buttonCallToAction()->isVisible());
    EXPECT_EQ(message->heroImageName(), QStringLiteral("EmptyWelcome"));
    EXPECT_FALSE(message->imageHero()->pixmap().isNull());
    EXPECT_EQ(message->palette().color(QPalette::Window),
              ColorHelpers::color(QStringLiteral("#ffffff")));
    EXPECT_EQ(message->labelTitle()->palette().color(QPalette::WindowText),
              ColorHelpers::color(QStringLiteral("#212121")));
}

TEST_F(MessageViewControllerTest, CloseAlwaysAsksForTheActivityPanel)
{
    QTest::mouseClick(message->buttonClose(), Qt::LeftButton);
    message->configure(MessageViewController::Kind::welcome);
    QTest::mouseClick(message->buttonClose(), Qt::LeftButton);
    EXPECT_EQ(transitions.calls,
              (QStringList{QStringLiteral("activity"), QStringLiteral("activity")}));
}

TEST_F(MessageViewControllerTest, CallToActionRunsTheActionOfTheMoment)
{
    message->configure(MessageViewController::Kind::welcome);
    QTest::mouseClick(message->buttonCallToAction(), Qt::LeftButton);
    EXPECT_EQ(transitions.calls, QStringList{QStringLiteral("activity")});

    int runs = 0;
    message->action = [&] { ++runs; };
    QTest::mouseClick(message->buttonCallToAction(), Qt::LeftButton);
    message->action = nullptr;
    QTest::mouseClick(message->buttonCallToAction(), Qt::LeftButton);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(transitions.calls.size(), 1);
}

TEST_F(MessageViewControllerTest, CallToActionGoesWithTheScreenButNotWithTheWindow)
{
    message->configure(MessageViewController::Kind::welcome);
    // The popover closing is not the message going away.
    window.hide();
    window.show();
    EXPECT_TRUE(message->buttonCallToAction()->isVisible());

    message->hide();
    message->show();
    EXPECT_TRUE(message->buttonCallToAction()->isHidden());
}

} // namespace
