#include "ui/ActivityViewController.h"

#include <QAction>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "ColorHelpers.h"
#include "ImageHelpers.h"
#include "NotificationCenter.h"
#include "services/Handoff.h"
#include "store/Localization.h"
#include "store/TaskInfo.h"
#include "timer/ActivityManager.h"
#include "ui/ActivitySettingsViewController.h"
#include "ui/ActivityView.h"
#include "ui/ButtonKeys.h"
#include "ui/SessionView.h"

namespace {

constexpr int panelWidth = 320;
constexpr int panelHeight = 440;
constexpr int taskFadeMilliseconds = 450;

const char* const panelStyle = R"(
ActivityViewController { background: #FFFFFF; }
QWidget#headerView { background: #ebebeb; }
QWidget#footerView { background: #F9F9F9; border-top: 1px solid #ebebeb; }
QLabel#headerTitle { color: #313131; }
QToolButton {
    border: 2px solid transparent; border-radius: 7px; background: transparent; padding: 3px;
}
QToolButton:hover { background: rgba(49, 49, 49, 0.08); }
QToolButton:pressed { background: rgba(49, 49, 49, 0.16); }
QToolButton:focus { border-color: #59b6e8; }
QPushButton#buttonSelectedTask {
    border: 2px solid transparent; border-radius: 7px; background: transparent;
    padding: 2px 8px; outline: none;
}
QPushButton#buttonSelectedTask:hover { background: #F9F9F9; }
QPushButton#buttonSelectedTask:focus { border-color: #59b6e8; }
)";

QIcon tintedIcon(const char* image)
{
    QIcon icon(QStringLiteral(":/zestra/images/") + QLatin1String(image) + QStringLiteral(".svg"));
    icon.setIsMask(true);
    return ImageHelpers::tinted(icon, ColorHelpers::color(QStringLiteral("#313131")));
}

} // namespace

ActivityViewController::ActivityViewController(ActivityManager& manager, QWidget* parent)
    : QWidget(parent)
    , m_manager(manager)
    , m_actions(manager)
    , m_taskName(manager.activityPomodoro().taskName())
{
    setObjectName(QStringLiteral("ActivityViewController"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QLatin1String(panelStyle));
    // Holds the focus for the shortcuts when no control has it, but is no Tab stop of its own.
    setFocusPolicy(Qt::ClickFocus);
    resize(panelWidth, panelHeight);
    setMinimumSize(panelWidth, panelHeight);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildHeader());
    layout->addWidget(buildRings(), 1);
    layout->addWidget(buildFooter());
    // Top to bottom, then along the footer as it reads.
    QWidget* order[] = {buttonActivitySettings, activityPomodoro, buttonSelectedTask,
                        buttonBitacora,         buttonReport,     buttonThief,
                        buttonSettings,         buttonAbout,      buttonQuit};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    actionSwitchTimer = addShortcut(QKeySequence(Qt::Key_Space), [this] {
        m_actions.switchTimer(activityPomodoro->activityState() == ActivityView::State::running);
    });
    actionResetTime =
        addShortcut(QKeySequence(Qt::CTRL | Qt::Key_R), [this] { m_actions.resetTimer(false); });
    actionResetSession = addShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
                                     [this] { m_actions.resetSession(false); });
    actionResetGoal = addShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G),
                                  [this] { m_actions.resetGoal(false); });
    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma), [this] { emit settingsRequested(); });
    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { emit quitRequested(); });

    NotificationCenter::defaultCenter().addObserver(
        QLatin1String(Handoff::taskNamedNotification), this, [this](const QVariantMap& info) {
            const QVariant name = info.value(QStringLiteral("task_name"));
            if (name.metaType() == QMetaType::fromType<QString>())
                setTaskName(name.toString());
        });
}

ActivityViewController::~ActivityViewController() = default;

void ActivityViewController::offerContinue(const QString& deviceName, const QString& task,
                                           qint64 remaining)
{
    buttonContinue->setText(Localization::text("ACTIVITY_BUTTON_CONTINUE").arg(deviceName));
    const QString left =
        QStringLiteral("%1:%2").arg(remaining / 60).arg(remaining % 60, 2, 10, QLatin1Char('0'));
    buttonContinue->setToolTip(
        Localization::text("ACTIVITY_CONTINUE_DETAIL")
            .arg(task.isEmpty() ? Localization::text("ACTIVITY_CONTINUE_NO_TASK") : task, left,
                 deviceName));
    buttonContinue->setAccessibleName(buttonContinue->toolTip());
    buttonContinue->show();
}

void ActivityViewController::withdrawContinue()
{
    buttonContinue->hide();
}

QWidget* ActivityViewController::buildHeader()
{
    headerView = new QWidget(this);
    headerView->setObjectName(QStringLiteral("headerView"));
    headerView->setAttribute(Qt::WA_StyledBackground);
    headerView->setFixedHeight(40);
    auto* layout = new QHBoxLayout(headerView);
    layout->setContentsMargins(16, 0, 8, 0);

    auto* title = new QLabel(Localization::text("ACTIVITY_HEADER_TITLE"), headerView);
    title->setObjectName(QStringLiteral("headerTitle"));
    QFont font = title->font();
    font.setWeight(QFont::DemiBold);
    title->setFont(font);
    layout->addWidget(title);
    layout->addStretch();

    // Shown while another computer of the user has a countdown to continue.
    buttonContinue = new QPushButton(headerView);
    buttonContinue->setObjectName(QStringLiteral("buttonContinue"));
    buttonContinue->setCursor(Qt::PointingHandCursor);
    buttonContinue->setStyleSheet(QStringLiteral(
        "QPushButton#buttonContinue { border: 1px solid #fe2f68; border-radius: 10px;"
        " color: #fe2f68; padding: 2px 10px; background: transparent; }"
        "QPushButton#buttonContinue:hover { background: #ffe3ea; }"));
    buttonContinue->hide();
    layout->addWidget(buttonContinue);
    connect(buttonContinue, &QPushButton::clicked, this,
            &ActivityViewController::continueRequested);

    buttonActivitySettings = iconButton(headerView, "Panel-Actions", "ACTIVITY_BUTTON_ACTIONS");
    layout->addWidget(buttonActivitySettings);
    connect(buttonActivitySettings, &QToolButton::clicked, this,
            &ActivityViewController::showActivitySettings);
    return headerView;
}

QWidget* ActivityViewController::buildRings()
{
    auto* area = new QWidget(this);
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 10, 0, 6);
    layout->setSpacing(0);

    activityPomodoro = new ActivityView(m_manager, area);
    activityPomodoro->setMinimumHeight(190);
    activityPomodoro->setRingAlign(RingAlign::center);
    activityPomodoro->setTheme(RingGeometry::Theme::task());
    activityPomodoro->setActivity(&m_manager.activityPomodoro());
    layout->addWidget(activityPomodoro, 1);

    layout->addWidget(buildTaskView());

    auto* row = new QHBoxLayout;
    row->setContentsMargins(30, 0, 30, 0);
    row->setSpacing(12);
    sessionPomodoro = new SessionView(area);
    sessionPomodoro->setRingAlign(RingAlign::center);
    sessionPomodoro->setTitle(Localization::text("SESSION_SERIE"));
    sessionPomodoro->setUnitName(Localization::text("SESSION_UNIT"));
    sessionPomodoro->setTheme(RingGeometry::Theme::task());
    sessionPomodoro->setWorkSession(&m_manager.sessionPomodoro());
    goalPomodoro = new SessionView(area);
    goalPomodoro->setRingAlign(RingAlign::center);
    goalPomodoro->setTitle(Localization::text("GOAL_SERIE"));
    goalPomodoro->setUnitName(Localization::text("GOAL_UNIT"));
    goalPomodoro->setTheme(RingGeometry::Theme::task());
    goalPomodoro->setWorkSession(&m_manager.goalPomodoro());
    for (SessionView* ring : {sessionPomodoro, goalPomodoro}) {
        ring->setFixedHeight(118);
        row->addWidget(ring, 1);
    }
    layout->addLayout(row);
    return area;
}

QWidget* ActivityViewController::buildTaskView()
{
    taskView = new QWidget(this);
    taskView->setFixedHeight(40);
    auto* layout = new QHBoxLayout(taskView);
    layout->setContentsMargins(20, 2, 20, 6);

    buttonSelectedTask = new QPushButton(taskView);
    buttonSelectedTask->setObjectName(QStringLiteral("buttonSelectedTask"));
    buttonSelectedTask->setFocusPolicy(Qt::TabFocus);
    buttonSelectedTask->setAccessibleDescription(Localization::text("ACTIVITY_TASK_ACCESSIBLE"));
    ButtonKeys::install(buttonSelectedTask);
    buttonSelectedTask->setCursor(Qt::PointingHandCursor);
    QFont font = buttonSelectedTask->font();
    font.setPointSize(13);
    font.setBold(true);
    buttonSelectedTask->setFont(font);
    QPalette palette = buttonSelectedTask->palette();
    palette.setColor(QPalette::ButtonText,
                     ColorHelpers::color(TaskInfo::rawValue(TaskInfo::Colors::red)));
    buttonSelectedTask->setPalette(palette);
    layout->addWidget(buttonSelectedTask, 0, Qt::AlignCenter);

    auto* effect = new QGraphicsOpacityEffect(buttonSelectedTask);
    effect->setOpacity(1.0);
    buttonSelectedTask->setGraphicsEffect(effect);
    m_taskFade = new QPropertyAnimation(effect, "opacity", this);
    m_taskFade->setDuration(taskFadeMilliseconds);
    m_taskFade->setStartValue(0.0);
    m_taskFade->setEndValue(1.0);
    m_taskFade->setEasingCurve(QEasingCurve::OutQuad);

    connect(buttonSelectedTask, &QPushButton::clicked, this, &ActivityViewController::showTaskList);
    drawTaskButton();
    return taskView;
}

QWidget* ActivityViewController::buildFooter()
{
    footerView = new QWidget(this);
    footerView->setObjectName(QStringLiteral("footerView"));
    footerView->setAttribute(Qt::WA_StyledBackground);
    footerView->setFixedHeight(44);
    auto* layout = new QHBoxLayout(footerView);
    layout->setContentsMargins(10, 0, 10, 0);
    layout->setSpacing(4);

    buttonSettings = iconButton(footerView, "Panel-Settings", "ACTIVITY_BUTTON_SETTINGS");
    buttonAbout = iconButton(footerView, "Panel-About", "ACTIVITY_BUTTON_ABOUT");
    buttonBitacora = iconButton(footerView, "Panel-Logbook", "ACTIVITY_BUTTON_LOGBOOK");
    buttonReport = iconButton(footerView, "Panel-Report", "ACTIVITY_BUTTON_REPORT");
    buttonThief = iconButton(footerView, "Panel-Thieves", "ACTIVITY_BUTTON_THIEVES");
    buttonQuit = iconButton(footerView, "Panel-Quit", "ACTIVITY_BUTTON_QUIT");
    for (QToolButton* button : {buttonBitacora, buttonReport, buttonThief})
        layout->addWidget(button);
    layout->addStretch();
    for (QToolButton* button : {buttonSettings, buttonAbout, buttonQuit})
        layout->addWidget(button);

    connect(buttonSettings, &QToolButton::clicked, this,
            &ActivityViewController::settingsRequested);
    connect(buttonAbout, &QToolButton::clicked, this, &ActivityViewController::aboutRequested);
    connect(buttonBitacora, &QToolButton::clicked, this, &ActivityViewController::logbookRequested);
    connect(buttonReport, &QToolButton::clicked, this, &ActivityViewController::reportRequested);
    connect(buttonThief, &QToolButton::clicked, this, &ActivityViewController::thievesRequested);
    connect(buttonQuit, &QToolButton::clicked, this, &ActivityViewController::quitRequested);
    return footerView;
}

QToolButton* ActivityViewController::iconButton(QWidget* parent, const char* image,
                                                const char* tooltipKey)
{
    auto* button = new QToolButton(parent);
    button->setIcon(tintedIcon(image));
    button->setIconSize(QSize(18, 18));
    button->setToolTip(Localization::text(tooltipKey));
    button->setAccessibleName(Localization::text(tooltipKey));
    // Tab only: a click leaves no ring behind.
    button->setFocusPolicy(Qt::TabFocus);
    ButtonKeys::install(button);
    button->setCursor(Qt::PointingHandCursor);
    button->setAutoRaise(true);
    return button;
}

QAction* ActivityViewController::addShortcut(const QKeySequence& keys, std::function<void()> fn)
{
    auto* action = new QAction(this);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(action, &QAction::triggered, this, std::move(fn));
    addAction(action);
    return action;
}

void ActivityViewController::setTransitionDelegate(ContainerTransitionDelegate* delegate)
{
    m_transitionDelegate.set(delegate);
}

void ActivityViewController::setTaskName(const std::optional<QString>& name)
{
    m_taskName = name;
    m_manager.activityPomodoro().setTaskName(name);
    Handoff::publish(m_manager);
    drawTaskButton();
    m_taskFade->stop();
    m_taskFade->start();
}

void ActivityViewController::drawTaskButton()
{
    m_taskTitle = m_taskName && !m_taskName->isEmpty()
                      ? *m_taskName
                      : Localization::text("ACTIVITY_TASK_NAME_PLACEHOLDER");
    const int room = std::max(taskView->width(), panelWidth) - 60;
    buttonSelectedTask->setText(
        buttonSelectedTask->fontMetrics().elidedText(m_taskTitle, Qt::ElideRight, room));
    buttonSelectedTask->setToolTip(m_taskTitle);
    buttonSelectedTask->setAccessibleName(m_taskTitle);
}

void ActivityViewController::showTaskList()
{
    // Coming back, the keyboard carries on from the task button.
    m_returnFocus = buttonSelectedTask->hasFocus() ? buttonSelectedTask : nullptr;
    if (auto* delegate = m_transitionDelegate.get())
        delegate->showTaskList();
}

void ActivityViewController::showActivitySettings()
{
    if (m_popover)
        m_popover->close();
    // The header button takes focus from the keyboard only, so the menu opens ready for it.
    const bool fromKeyboard = buttonActivitySettings->hasFocus();
    m_popover = new ActivitySettingsViewController(m_actions, this);
    m_popover->popup(buttonActivitySettings);
    if (fromKeyboard)
        m_popover->focusFirstButton();
}

void ActivityViewController::taskChosen(const QString& name)
{
    setTaskName(name);
}

void ActivityViewController::taskDeleted(const QString& name)
{
    // Deleting some other task leaves the one being worked on alone.
    if (m_taskName == name)
        setTaskName(QString());
}

void ActivityViewController::taskNameChanged(const QString& oldName, const QString& newName)
{
    if (m_taskName == oldName)
        setTaskName(newName);
}

void ActivityViewController::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_returnFocus && m_returnFocus->isVisible())
        m_returnFocus->setFocus(Qt::OtherFocusReason);
    else
        setFocus();
    m_returnFocus = nullptr;
}

void ActivityViewController::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    drawTaskButton();
}
