#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <optional>

#include <QLabel>
#include <QStringList>
#include <QVBoxLayout>
#include <QWidget>

#include "ColorHelpers.h"
#include "Console.h"
#include "settings/Settings.h"
#include "support/TestEnvironment.h"
#include "ui/ContainerViewController.h"
#include "ui/InternetMonitor.h"
#include "ui/MessageViewController.h"
#include "ui/SlideAnimator.h"

// Shared by the container's test files; kept apart from the other screens' test helpers.
namespace containertest {

// A network monitor the test drives by hand, from whatever thread it likes.
class FakeInternetMonitor : public InternetMonitor {
public:
    bool startNotifier(QString* error) override
    {
        if (failure) {
            *error = *failure;
            return false;
        }
        started = true;
        return true;
    }

    std::optional<QString> failure;
    bool started = false;
};

// A plain screen standing in for the real ones: a tinted page with its name.
inline QWidget* makeStandIn(const QString& name, const QString& background)
{
    auto* screen = new QWidget;
    screen->setObjectName(name);
    screen->setAutoFillBackground(true);
    QPalette colours = screen->palette();
    colours.setColor(QPalette::Window, ColorHelpers::color(background));
    screen->setPalette(colours);
    auto* label = new QLabel(name, screen);
    label->setAlignment(Qt::AlignCenter);
    auto* column = new QVBoxLayout(screen);
    column->addWidget(label);
    return screen;
}

// A container with stand-in screens in a private settings folder, a fake monitor and a
// captured console.
class ContainerFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        SlideAnimator::setAnimationsEnabled(false);
        Console::setSink([this](const QString& line) {
            std::lock_guard lock(m_linesMutex);
            m_lines.append(line);
        });
    }

    void TearDown() override
    {
        container.reset();
        Console::setSink(nullptr);
        SlideAnimator::setAnimationsEnabled(true);
    }

    QStringList consoleLines()
    {
        std::lock_guard lock(m_linesMutex);
        return m_lines;
    }

    ContainerViewController::Services services()
    {
        ContainerViewController::Services services;
        services.internetMonitor = [this] {
            auto made = std::make_unique<FakeInternetMonitor>();
            made->failure = monitorFailure;
            monitor = made.get();
            return made;
        };
        services.iCloudConnectionOnline = [this](std::function<void(bool)> answer) {
            ++accountQuestions;
            answer(accountAvailable);
        };
        return services;
    }

    // Builds the container, gives it its screens and lets the queued start-up answers land.
    ContainerViewController& start(bool welcomeDone = true)
    {
        Settings::shared().setBool(Settings::WelcomeOnboardingDone, welcomeDone);
        container = std::make_unique<ContainerViewController>(services());
        activity = makeStandIn(QStringLiteral("Activity"), QStringLiteral("#f9f9f9"));
        taskList = makeStandIn(QStringLiteral("Tasks"), QStringLiteral("#ebebeb"));
        taskCreation = makeStandIn(QStringLiteral("New task"), QStringLiteral("#ffffff"));
        message = new MessageViewController;
        container->setScreens(activity, taskList, taskCreation, message);
        container->show();
        settle();
        return *container;
    }

    static void settle()
    {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }

    TestEnvironment env;
    FakeInternetMonitor* monitor = nullptr;
    std::optional<QString> monitorFailure;
    bool accountAvailable = true;
    int accountQuestions = 0;
    QWidget* activity = nullptr;
    QWidget* taskList = nullptr;
    QWidget* taskCreation = nullptr;
    MessageViewController* message = nullptr;
    std::unique_ptr<ContainerViewController> container;

private:
    std::mutex m_linesMutex;
    QStringList m_lines;
};

} // namespace containertest
