#include "ui/BannerViewController.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "ColorHelpers.h"
#include "store/Localization.h"
#include "ui/SvgPixmap.h"

BannerViewController::BannerViewController(QWidget* parent)
    : QWidget(parent)
    , m_labelMessage(new QLabel(this))
    , m_buttonClose(new QPushButton(this))
{
    setObjectName(QStringLiteral("banner"));
    setFixedHeight(bannerHeight);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, ColorHelpers::color(QStringLiteral("#f72020")));
    colours.setColor(QPalette::WindowText, ColorHelpers::color(QStringLiteral("#ffffff")));
    setPalette(colours);

    QFont font = m_labelMessage->font();
    font.setPixelSize(12);
    font.setWeight(QFont::DemiBold);
    m_labelMessage->setFont(font);
    m_labelMessage->setWordWrap(true);
    m_labelMessage->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Two short lines fit; the label must not push the strip taller.
    m_labelMessage->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);

    const QSize iconSize(10, 10);
    m_buttonClose->setIcon(SvgPixmap::tintedIcon(QStringLiteral("ContainerClose"), iconSize,
                                                 ColorHelpers::color(QStringLiteral("#ffffff"))));
    m_buttonClose->setIconSize(iconSize);
    m_buttonClose->setFixedSize(28, 28);
    m_buttonClose->setFlat(true);
    m_buttonClose->setCursor(Qt::PointingHandCursor);
    // Out of the Tab order: the banner lies outside the popover while hidden.
    m_buttonClose->setFocusPolicy(Qt::NoFocus);
    m_buttonClose->setAccessibleName(Localization::text("CONTAINER_BUTTON_CLOSE"));
    m_buttonClose->setStyleSheet(
        QStringLiteral("QPushButton { border: none; border-radius: 14px; background: transparent; }"
                       "QPushButton:hover { background: rgba(255, 255, 255, 40); }"
                       "QPushButton:pressed { background: rgba(255, 255, 255, 70); }"));
    connect(m_buttonClose, &QPushButton::clicked, this,
            &BannerViewController::handleCloseButtonClick);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(16, 4, 10, 4);
    row->setSpacing(8);
    row->addWidget(m_labelMessage, 1);
    row->addWidget(m_buttonClose, 0, Qt::AlignVCenter);
}

void BannerViewController::setMessage(const std::optional<QString>& message)
{
    m_message = message;
    m_labelMessage->setText(message.value_or(QString()));
}

void BannerViewController::handleCloseButtonClick()
{
    if (BannerDelegate* delegate = m_delegate.get())
        delegate->bannerClosed();
}
