#include "ui/ContainerViewController.h"

#include <QResizeEvent>

#include "ColorHelpers.h"
#include "Console.h"
#include "NotificationCenter.h"
#include "dispatch/MainQueue.h"
#include "settings/Settings.h"
#include "store/Localization.h"
#include "ui/BannerViewController.h"
#include "ui/MessageViewController.h"

namespace {

const QString cloudAccountChanged = QStringLiteral("ZestraCloudAccountChanged");
const QString cloudQuotaExceeded = QStringLiteral("ZestraCloudQuotaExceeded");

size_t indexOf(TransitionDestination destination)
{
    return static_cast<size_t>(destination);
}

} // namespace

ContainerViewController::ContainerViewController(QWidget* parent)
    : ContainerViewController(Services{}, parent)
{}

ContainerViewController::ContainerViewController(Services services, QWidget* parent)
    : QWidget(parent)
    , m_services(std::move(services))
    , m_banner(new BannerViewController(this))
    , m_screenAnimator(new SlideAnimator(this))
    , m_bannerAnimator(new SlideAnimator(this))
{
    if (!m_services.internetMonitor)
        m_services.internetMonitor = [] { return InternetMonitor::forInternet(); };
    if (!m_services.iCloudConnectionOnline)
        m_services.iCloudConnectionOnline = [](std::function<void(bool)> answer) { answer(true); };

    setObjectName(QStringLiteral("container"));
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, ColorHelpers::color(QStringLiteral("#ffffff")));
    setPalette(colours);
    resize(sizeHint());

    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.addObserver(cloudAccountChanged, this,
                       [this](const QVariantMap&) { receivediCloudChangeNotification(); });
    center.addObserver(cloudQuotaExceeded, this,
                       [this](const QVariantMap&) { receivediCloudQuotaExceededNotification(); });

    askAccount();
    checkInternetStatus();

    m_banner->setDelegate(this);
    m_banner->setGeometry(hiddenBannerFrame());
    m_banner->raise();
}

ContainerViewController::~ContainerViewController()
{
    // Stop the monitor first: its thread must not call into a half-destroyed container.
    m_reachability.reset();
}

QSize ContainerViewController::sizeHint() const
{
    return QSize(320, 440);
}

void ContainerViewController::setScreens(QWidget* activity, QWidget* taskList,
                                         QWidget* taskCreation, MessageViewController* message)
{
    // All four or none: without them the container stays empty and every request does nothing.
    if (m_actualView || !activity || !taskList || !taskCreation || !message)
        return;
    m_screens = {activity, taskList, taskCreation, message};
    m_message = message;
    for (QWidget* screen : m_screens) {
        screen->setParent(this);
        screen->setGeometry(rect());
        screen->hide();
    }
    message->setTransitionDelegate(this);

    Settings& settings = Settings::shared();
    if (settings.boolValue(Settings::WelcomeOnboardingDone)) {
        m_actualView = TransitionDestination::activity;
    } else {
        m_actualView = TransitionDestination::message;
        message->configure(MessageViewController::Kind::welcome);
        settings.setBool(Settings::WelcomeOnboardingDone, true);
    }
    emit screenWillAppear(*m_actualView);
    screen(*m_actualView)->show();
    m_banner->raise();
}

void ContainerViewController::setEditTask(std::function<void(const QString&)> editTask)
{
    m_editTask = std::move(editTask);
}

QWidget* ContainerViewController::screen(TransitionDestination destination) const
{
    return m_screens[indexOf(destination)];
}

void ContainerViewController::showTaskList()
{
    transition(ScreenTransition::toTaskList(m_actualView));
}

void ContainerViewController::showTaskCreator()
{
    transition(ScreenTransition::toTaskCreation(m_actualView));
}

void ContainerViewController::showTaskCreator(const QString& existingTaskNamed)
{
    if (!m_actualView)
        return;
    transition(ScreenTransition::toTaskCreation(m_actualView));
    if (m_editTask)
        m_editTask(existingTaskNamed);
}

void ContainerViewController::showActivity()
{
    transition(ScreenTransition::toActivity(m_actualView));
}

void ContainerViewController::transition(std::optional<ScreenTransition> transition)
{
    if (!transition || !m_actualView)
        return;
    QWidget* from = screen(*m_actualView);
    QWidget* to = screen(transition->destination);
    if (!from || !to)
        return;
    m_actualView = transition->destination;
    emit screenWillAppear(transition->destination);
    m_screenAnimator->slide(from, to, transition->slide, rect());
    m_banner->raise();
}

void ContainerViewController::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_screenAnimator->finish();
    for (QWidget* screen : m_screens) {
        if (screen)
            screen->setGeometry(rect());
    }
    const bool shown = isBannerShown();
    m_bannerAnimator->finish();
    m_banner->setGeometry(shown ? shownBannerFrame() : hiddenBannerFrame());
}

// Banner

QRect ContainerViewController::shownBannerFrame() const
{
    return QRect(0, 0, width(), BannerViewController::bannerHeight);
}

QRect ContainerViewController::hiddenBannerFrame() const
{
    return shownBannerFrame().translated(0, -BannerViewController::bannerHeight);
}

bool ContainerViewController::isBannerShown() const
{
    const QRect frame = m_bannerAnimator->restingFrame(m_banner);
    return !frame.isEmpty() && rect().contains(frame);
}

void ContainerViewController::showBanner(const char* key)
{
    if (isBannerShown())
        return;
    m_banner->setMessage(Localization::text(key));
    m_bannerAnimator->move(m_banner, shownBannerFrame());
}

void ContainerViewController::hideBanner()
{
    if (!isBannerShown())
        return;
    m_bannerAnimator->move(m_banner, hiddenBannerFrame());
}

void ContainerViewController::bannerClosed()
{
    hideBanner();
}

// Sources of banners

void ContainerViewController::checkInternetStatus()
{
    m_reachability = m_services.internetMonitor();
    if (!m_reachability)
        return;
    // The monitor calls from its own thread; a QPointer copied there is only read back here.
    QPointer<ContainerViewController> self(this);
    m_reachability->whenReachable = [self] {
        MainQueue::post([self] {
            if (self)
                self->hideBanner();
        });
    };
    m_reachability->whenUnreachable = [self] {
        Console::line(QStringLiteral("Perdida la conexion"));
        MainQueue::post([self] {
            if (self)
                self->showBanner("BANNER_INTERNET_CONNECTION");
        });
    };
    QString error;
    if (!m_reachability->startNotifier(&error))
        Console::line(QStringLiteral("err @ ") + QStringLiteral("checkInternetStatus()") +
                      QStringLiteral(" -> ") + error);
}

void ContainerViewController::askAccount()
{
    QPointer<ContainerViewController> self(this);
    m_services.iCloudConnectionOnline([self](bool available) {
        MainQueue::post([self, available] {
            if (self)
                self->updateAccountBanner(available);
        });
    });
}

void ContainerViewController::updateAccountBanner(bool available)
{
    if (available)
        hideBanner();
    else
        showBanner("BANNER_ICLOUD_ACCOUNT");
}

void ContainerViewController::receivediCloudChangeNotification()
{
    askAccount();
}

void ContainerViewController::receivediCloudQuotaExceededNotification()
{
    showBanner("BANNER_ICLOUD_QUOTA");
}
