#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>

#include <QPointer>
#include <QString>
#include <QWidget>

#include "ui/BannerDelegate.h"
#include "ui/ContainerTransitionDelegate.h"
#include "ui/InternetMonitor.h"
#include "ui/ScreenTransition.h"
#include "ui/SlideAnimator.h"

class BannerViewController;
class MessageViewController;

// The popover's content: shows one screen at a time, slides between them and lays the red
// banner over its top edge when the internet, the cloud account or the cloud storage fails.
class ContainerViewController : public QWidget,
                                public ContainerTransitionDelegate,
                                public BannerDelegate {
    Q_OBJECT
public:
    using TransitionDestination = ::TransitionDestination;
    // Asks whether the cloud account can be used; the answer may come on any thread.
    using AccountCheck = std::function<void(std::function<void(bool available)>)>;

    // The outside world, replaceable in tests. Empty members take the application's own.
    struct Services {
        std::function<std::unique_ptr<InternetMonitor>()> internetMonitor;
        // Until the cloud is wired in, the account counts as available (no banner).
        AccountCheck iCloudConnectionOnline;
    };

    explicit ContainerViewController(QWidget* parent = nullptr);
    explicit ContainerViewController(Services services, QWidget* parent = nullptr);
    ~ContainerViewController() override;

    // Takes the screens as children and shows the first one: the activity panel, or the welcome
    // message the very first time. Once only; the screens' own transition delegates are set by
    // their creator (the message's is set here).
    void setScreens(QWidget* activity, QWidget* taskList, QWidget* taskCreation,
                    MessageViewController* message);
    // Fills the task creator with the named task, after it has been brought forward to edit it.
    void setEditTask(std::function<void(const QString& name)> editTask);

    void showTaskList() override;
    void showTaskCreator() override;
    void showTaskCreator(const QString& existingTaskNamed) override;
    void showActivity() override;

    void bannerClosed() override;
    // Slides the banner in with the text of a localisation key; a banner already shown keeps
    // its text.
    void showBanner(const char* key);
    void hideBanner();
    // Where the banner rests (or will once it has moved): inside the top strip means shown.
    bool isBannerShown() const;

    void checkInternetStatus();
    void receivediCloudChangeNotification();
    void receivediCloudQuotaExceededNotification();

    std::optional<TransitionDestination> actualView() const { return m_actualView; }
    QWidget* screen(TransitionDestination destination) const;
    MessageViewController* viewControllerMessage() const { return m_message; }
    BannerViewController* bannerView() const { return m_banner; }
    SlideAnimator* screenAnimator() const { return m_screenAnimator; }
    SlideAnimator* bannerAnimator() const { return m_bannerAnimator; }

    QSize sizeHint() const override;

signals:
    // A screen is about to come forward (also the first one), so it can refresh what it shows.
    void screenWillAppear(TransitionDestination destination);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void transition(std::optional<ScreenTransition> transition);
    void updateAccountBanner(bool available);
    void askAccount();
    QRect shownBannerFrame() const;
    QRect hiddenBannerFrame() const;

    Services m_services;
    std::array<QPointer<QWidget>, 4> m_screens;
    QPointer<MessageViewController> m_message;
    BannerViewController* m_banner;
    SlideAnimator* m_screenAnimator;
    SlideAnimator* m_bannerAnimator;
    std::optional<TransitionDestination> m_actualView;
    std::function<void(const QString&)> m_editTask;
    std::unique_ptr<InternetMonitor> m_reachability;
};
