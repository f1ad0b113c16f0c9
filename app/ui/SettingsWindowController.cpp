#include "ui/SettingsWindowController.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "settings/Settings.h"
#include "store/Localization.h"
#include "ui/GeneralPreferencesViewController.h"
#include "ui/SvgPixmap.h"
#include "ui/ThiefPreferencesViewController.h"

namespace {

constexpr int IconSize = 28;

// The pane icons are drawn in black; each state gets its colour here.
QToolButton* paneButton(const char* textKey)
{
    auto* button = new QToolButton;
    button->setText(Localization::text(textKey));
    button->setCheckable(true);
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setIconSize(QSize(IconSize, IconSize));
    button->setMinimumWidth(96);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

} // namespace

SettingsWindowController::SettingsWindowController(Settings& settings, Hooks hooks, QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("SettingsWindowController"));
    setWindowTitle(Localization::text("SETTINGS_WINDOW_TITLE"));

    buttonGeneral = paneButton("SETTINGS_GENERAL_PANE");
    buttonGeneral->setObjectName(QStringLiteral("buttonGeneral"));
    buttonThief = paneButton("SETTINGS_THIEVES_PANE");
    buttonThief->setObjectName(QStringLiteral("buttonThief"));
    buttonCloud = paneButton("SETTINGS_CLOUD_PANE");
    buttonCloud->setObjectName(QStringLiteral("buttonCloud"));
    auto* group = new QButtonGroup(this);
    group->setExclusive(true);
    group->addButton(buttonGeneral);
    group->addButton(buttonThief);
    group->addButton(buttonCloud);
    connect(buttonGeneral, &QToolButton::clicked, this,
            &SettingsWindowController::handleGeneralPreferencesButtonClick);
    connect(buttonThief, &QToolButton::clicked, this,
            &SettingsWindowController::handleThiefPreferencesButtonClick);
    connect(buttonCloud, &QToolButton::clicked, this,
            &SettingsWindowController::handleCloudPreferencesButtonClick);

    auto* toolbar = new QWidget;
    toolbar->setObjectName(QStringLiteral("toolbar"));
    auto* toolbarLayout = new QHBoxLayout(toolbar);
    toolbarLayout->setContentsMargins(12, 8, 12, 6);
    toolbarLayout->setSpacing(4);
    toolbarLayout->addStretch(1);
    toolbarLayout->addWidget(buttonGeneral);
    toolbarLayout->addWidget(buttonThief);
    toolbarLayout->addWidget(buttonCloud);
    toolbarLayout->addStretch(1);
    setStyleSheet(QStringLiteral("QToolButton { border: none; border-radius: 6px; padding: 6px "
                                 "10px 4px 10px; }"
                                 "QToolButton:hover { background-color: palette(midlight); }"
                                 "QToolButton:checked { background-color: palette(midlight); "
                                 "color: palette(highlight); }"));

    auto* separator = new QFrame;
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);

    viewcontrollerGeneral =
        new GeneralPreferencesViewController(settings, std::move(hooks.general));
    viewcontrollerThief = new ThiefPreferencesViewController(
        settings, std::move(hooks.scanAllowedChanged), std::move(hooks.canSeeFrontmost));
    m_stack = new QStackedWidget;
    m_stack->addWidget(viewcontrollerGeneral);
    viewcontrollerCloud = new CloudPreferencesViewController(settings, std::move(hooks.cloud));
    m_stack->addWidget(viewcontrollerThief);
    m_stack->addWidget(viewcontrollerCloud);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolbar);
    layout->addWidget(separator);
    layout->addWidget(m_stack, 1);

    tintButtons();
    handleThiefPreferencesButtonClick();
}

void SettingsWindowController::handleGeneralPreferencesButtonClick()
{
    if (viewcontrollerGeneral)
        viewcontrollerGeneral->reload();
    showPane(viewcontrollerGeneral, buttonGeneral);
}

void SettingsWindowController::handleThiefPreferencesButtonClick()
{
    if (viewcontrollerThief)
        viewcontrollerThief->reload();
    showPane(viewcontrollerThief, buttonThief);
}

void SettingsWindowController::handleCloudPreferencesButtonClick()
{
    if (viewcontrollerCloud)
        viewcontrollerCloud->reload();
    showPane(viewcontrollerCloud, buttonCloud);
}

QWidget* SettingsWindowController::content() const
{
    return m_stack->currentWidget();
}

void SettingsWindowController::showPane(QWidget* pane, QToolButton* button)
{
    if (!pane)
        return;
    m_stack->setCurrentWidget(pane);
    button->setChecked(true);
}

void SettingsWindowController::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        tintButtons();
}

void SettingsWindowController::tintButtons()
{
    const qreal ratio = devicePixelRatioF();
    const QColor normal = palette().color(QPalette::WindowText);
    const QColor chosen = palette().color(QPalette::Highlight);
    const std::pair<QToolButton*, QString> buttons[] = {
        {buttonGeneral, QStringLiteral("PreferencesGeneral")},
        {buttonThief, QStringLiteral("PreferencesThieves")},
        {buttonCloud, QStringLiteral("PreferencesCloud")},
    };
    for (const auto& [button, path] : buttons) {
        QIcon icon;
        const QSize size(IconSize, IconSize);
        icon.addPixmap(SvgPixmap::tinted(path, size, normal, ratio), QIcon::Normal, QIcon::Off);
        icon.addPixmap(SvgPixmap::tinted(path, size, chosen, ratio), QIcon::Normal, QIcon::On);
        button->setIcon(icon);
    }
}
