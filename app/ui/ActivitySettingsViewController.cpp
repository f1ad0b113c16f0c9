#include "ui/ActivitySettingsViewController.h"

#include <algorithm>

#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "store/Localization.h"
#include "ui/ButtonKeys.h"
#include "ui/PanelActions.h"

namespace {

const char* const menuStyle = R"(
ActivitySettingsViewController { background: #FFFFFF; border: 1px solid #ebebeb; }
QFrame#box { background: #FFFFFF; border: none; }
QFrame#separator { background: #ebebeb; border: none; }
QPushButton {
    background: #ffffff; color: #313131; border: none; border-radius: 5px;
    padding: 7px 12px; text-align: left; outline: none;
}
QPushButton:hover, QPushButton:pressed, QPushButton:focus { background: #ebebeb; }
QPushButton:disabled { color: #999999; background: #ffffff; }
)";

QFrame* addBox(QVBoxLayout* outer, QWidget* parent)
{
    auto* box = new QFrame(parent);
    box->setObjectName(QStringLiteral("box"));
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    outer->addWidget(box);
    return box;
}

void addSeparator(QVBoxLayout* outer, QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setObjectName(QStringLiteral("separator"));
    line->setFixedHeight(1);
    outer->addSpacing(3);
    outer->addWidget(line);
    outer->addSpacing(3);
}

QPushButton* addButton(QFrame* box, const char* key)
{
    auto* button = new QPushButton(Localization::text(key), box);
    button->setAccessibleName(button->text());
    button->setFocusPolicy(Qt::TabFocus);
    ButtonKeys::install(button);
    button->setCursor(Qt::PointingHandCursor);
    box->layout()->addWidget(button);
    return button;
}

} // namespace

ActivitySettingsViewController::ActivitySettingsViewController(PanelActions& actions,
                                                               QWidget* parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint)
    , m_actions(actions)
{
    setAttribute(Qt::WA_StyledBackground);
    setAttribute(Qt::WA_DeleteOnClose);
    setStyleSheet(QLatin1String(menuStyle));
    setMinimumWidth(210);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(0);

    boxOne = addBox(layout, this);
    buttonToogleTimer = addButton(boxOne, "MENU_ACTIVITIES_PAUSE");
    buttonResetTimer = addButton(boxOne, "MENU_ACTIVITIES_RESET_TIMER");
    buttonSkipFreeTime = addButton(boxOne, "MENU_ACTIVITIES_SKIP");
    addSeparator(layout, this);
    boxTwo = addBox(layout, this);
    buttonResetSession = addButton(boxTwo, "MENU_ACTIVITIES_RESET_SESSION");
    buttonResetGoal = addButton(boxTwo, "MENU_ACTIVITIES_RESET_GOAL");
    addSeparator(layout, this);
    boxThree = addBox(layout, this);
    buttonResetAll = addButton(boxThree, "MENU_ACTIVITIES_RESET_ALL");

    connect(buttonResetTimer, &QPushButton::clicked, this,
            &ActivitySettingsViewController::doResetTimer);
    connect(buttonToogleTimer, &QPushButton::clicked, this,
            &ActivitySettingsViewController::doToggleTimer);
    connect(buttonResetSession, &QPushButton::clicked, this,
            &ActivitySettingsViewController::doResetSession);
    connect(buttonResetGoal, &QPushButton::clicked, this,
            &ActivitySettingsViewController::doResetGoal);
    connect(buttonSkipFreeTime, &QPushButton::clicked, this,
            &ActivitySettingsViewController::doSkipFreeTime);
    connect(buttonResetAll, &QPushButton::clicked, this,
            &ActivitySettingsViewController::doResetAll);
    refresh();
}

void ActivitySettingsViewController::refresh()
{
    setToggleTitle();
    buttonSkipFreeTime->setEnabled(m_actions.canSkipFreeTime());
}

void ActivitySettingsViewController::setToggleTitle()
{
    buttonToogleTimer->setText(Localization::text(m_actions.toggleTitleKey()));
    buttonToogleTimer->setAccessibleName(buttonToogleTimer->text());
}

void ActivitySettingsViewController::focusFirstButton()
{
    buttonToogleTimer->setFocus(Qt::TabFocusReason);
}

void ActivitySettingsViewController::popup(QWidget* anchor)
{
    adjustSize();
    QPoint topLeft = anchor->mapToGlobal(QPoint(anchor->width() - width(), anchor->height()));
    if (const QScreen* screen = anchor->screen()) {
        const QRect area = screen->availableGeometry();
        topLeft.setX(
            std::clamp(topLeft.x(), area.left(), std::max(area.left(), area.right() - width())));
    }
    move(topLeft);
    show();
}

void ActivitySettingsViewController::showEvent(QShowEvent* event)
{
    refresh();
    QWidget::showEvent(event);
}

void ActivitySettingsViewController::keyPressEvent(QKeyEvent* event)
{
    // The arrows walk the menu as they do a native one.
    if (event->key() == Qt::Key_Down || event->key() == Qt::Key_Up) {
        focusNextPrevChild(event->key() == Qt::Key_Down);
        return;
    }
    QWidget::keyPressEvent(event);
}

void ActivitySettingsViewController::doResetTimer()
{
    m_actions.resetTimer(true);
    close();
}

void ActivitySettingsViewController::doToggleTimer()
{
    m_actions.toggleTimer();
    setToggleTitle();
    close();
}

// The alerts come after the menu has gone, so the popup does not fight the dialog for input.
void ActivitySettingsViewController::doResetSession()
{
    close();
    m_actions.resetSession(true);
}

void ActivitySettingsViewController::doResetGoal()
{
    close();
    m_actions.resetGoal(true);
}

void ActivitySettingsViewController::doSkipFreeTime()
{
    m_actions.skipFreeTime();
    close();
}

void ActivitySettingsViewController::doResetAll()
{
    m_actions.resetAll();
    close();
}
