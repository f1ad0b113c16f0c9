#include "ui/MessageViewController.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ColorHelpers.h"
#include "store/Localization.h"
#include "ui/ButtonKeys.h"
#include "ui/SvgPixmap.h"

namespace {

const QSize heroSize(240, 170);
constexpr int callToActionHeight = 50;
constexpr int callToActionRadius = 25;

} // namespace

MessageViewController::MessageViewController(QWidget* parent)
    : QWidget(parent)
    , m_imageHero(new QLabel(this))
    , m_labelTitle(new QLabel(this))
    , m_labelDescription(new QLabel(this))
    , m_buttonClose(new QPushButton(this))
    , m_buttonCallToAction(new QPushButton(this))
{
    setObjectName(QStringLiteral("message"));
    setAutoFillBackground(true);
    const QColor ink = ColorHelpers::color(QStringLiteral("#212121"));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, ColorHelpers::color(QStringLiteral("#ffffff")));
    colours.setColor(QPalette::WindowText, ink);
    setPalette(colours);

    const QSize closeIconSize(12, 12);
    m_buttonClose->setIcon(
        SvgPixmap::tintedIcon(QStringLiteral("ContainerClose"), closeIconSize, ink));
    m_buttonClose->setIconSize(closeIconSize);
    m_buttonClose->setFixedSize(30, 30);
    m_buttonClose->setCursor(Qt::PointingHandCursor);
    m_buttonClose->setFocusPolicy(Qt::TabFocus);
    m_buttonClose->setAccessibleName(Localization::text("CONTAINER_BUTTON_CLOSE"));
    ButtonKeys::install(m_buttonClose);
    m_buttonClose->setStyleSheet(
        QStringLiteral("QPushButton { border: 2px solid transparent; outline: none; "
                       "border-radius: 15px; background: transparent; }"
                       "QPushButton:hover { background: #f0f0f0; }"
                       "QPushButton:pressed { background: #e4e4e4; }"
                       "QPushButton:focus { border-color: #59b6e8; }"));
    connect(m_buttonClose, &QPushButton::clicked, this,
            &MessageViewController::handleCloseButtonClick);

    m_imageHero->setFixedSize(heroSize);
    m_imageHero->setAlignment(Qt::AlignCenter);

    QFont titleFont = m_labelTitle->font();
    titleFont.setPixelSize(20);
    titleFont.setWeight(QFont::Bold);
    m_labelTitle->setFont(titleFont);
    m_labelTitle->setAlignment(Qt::AlignHCenter);
    m_labelTitle->setWordWrap(true);

    QFont textFont = m_labelDescription->font();
    textFont.setPixelSize(13);
    m_labelDescription->setFont(textFont);
    m_labelDescription->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_labelDescription->setWordWrap(true);

    QFont actionFont = m_buttonCallToAction->font();
    actionFont.setPixelSize(14);
    actionFont.setWeight(QFont::DemiBold);
    m_buttonCallToAction->setFont(actionFont);
    m_buttonCallToAction->setFixedHeight(callToActionHeight);
    m_buttonCallToAction->setMinimumWidth(200);
    m_buttonCallToAction->setCursor(Qt::PointingHandCursor);
    m_buttonCallToAction->setFocusPolicy(Qt::TabFocus);
    ButtonKeys::install(m_buttonCallToAction);
    // The rounded background is the clip: nothing is painted outside the pill.
    m_buttonCallToAction->setStyleSheet(
        QStringLiteral(
            "QPushButton { color: #ffffff; background: #ff2d55; border: none; outline: none;"
            " border-radius: %1px; padding: 0 28px; }"
            "QPushButton:hover { background: #ff4468; }"
            "QPushButton:pressed { background: #e0244a; }"
            // On the pink, a white ring inside the edge.
            "QPushButton:focus { border: 2px solid #ffffff; }")
            .arg(callToActionRadius));
    m_buttonCallToAction->hide();
    connect(m_buttonCallToAction, &QPushButton::clicked, this,
            &MessageViewController::handleCallToActionButtonClick);

    auto* top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    top->addStretch(1);
    top->addWidget(m_buttonClose);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(28, 12, 12, 28);
    column->setSpacing(0);
    column->addLayout(top);
    auto* body = new QVBoxLayout;
    body->setContentsMargins(0, 0, 16, 0);
    body->setSpacing(0);
    body->addWidget(m_imageHero, 0, Qt::AlignHCenter);
    body->addSpacing(20);
    body->addWidget(m_labelTitle);
    body->addSpacing(10);
    body->addWidget(m_labelDescription);
    body->addStretch(1);
    body->addWidget(m_buttonCallToAction, 0, Qt::AlignHCenter);
    column->addLayout(body, 1);
}

void MessageViewController::configure(Kind kind)
{
    switch (kind) {
    case Kind::welcome:
        m_buttonCallToAction->setVisible(true);
        action = [this] {
            if (ContainerTransitionDelegate* delegate = m_transitionDelegate.get())
                delegate->showActivity();
        };
        m_buttonCallToAction->setText(Localization::text("MESSAGE_CTA_WELCOME"));
        m_buttonCallToAction->setAccessibleName(m_buttonCallToAction->text());
        setHeroImage(QStringLiteral("EmptyWelcome"));
        m_labelTitle->setText(Localization::text("MESSAGE_TITLE_WELCOME"));
        m_labelDescription->setText(Localization::text("MESSAGE_TEXT_WELCOME"));
        break;
    }
}

void MessageViewController::setHeroImage(const QString& name)
{
    m_heroImageName = name;
    m_imageHero->setPixmap(SvgPixmap::render(name, heroSize, devicePixelRatioF()));
}

QUrl MessageViewController::storePageUrl()
{
    return QUrl(QStringLiteral("https://zestra.org/"));
}

void MessageViewController::openStorePage()
{
    QDesktopServices::openUrl(storePageUrl());
}

void MessageViewController::handleCloseButtonClick()
{
    if (ContainerTransitionDelegate* delegate = m_transitionDelegate.get())
        delegate->showActivity();
}

void MessageViewController::handleCallToActionButtonClick()
{
    if (action)
        action();
}

void MessageViewController::hideEvent(QHideEvent* event)
{
    // A call to action belongs to the message that asked for it; the next one decides again.
    // Only when this screen is taken away: closing the popover window keeps it as it is.
    if (isHidden())
        m_buttonCallToAction->hide();
    QWidget::hideEvent(event);
}
