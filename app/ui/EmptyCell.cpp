#include "ui/EmptyCell.h"

#include <QLabel>
#include <QVBoxLayout>

#include "ColorHelpers.h"
#include "store/Localization.h"
#include "ui/SvgPixmap.h"

EmptyCell::EmptyCell(QWidget* parent)
    : QWidget(parent)
    , m_labelTitle(new QLabel(this))
    , m_labelMessage(new QLabel(this))
{
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    auto* image = new QLabel(this);
    image->setPixmap(SvgPixmap::tinted(QStringLiteral("Panel-Logbook"), QSize(56, 56),
                                       ColorHelpers::color(QStringLiteral("#d6d6d6"))));
    image->setAlignment(Qt::AlignCenter);

    m_labelTitle->setText(Localization::text("EMPTY_SPACE_TITLE"));
    m_labelTitle->setStyleSheet(QStringLiteral("color: #313131;"));
    QFont font = m_labelTitle->font();
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() + 3);
    font.setWeight(QFont::DemiBold);
    m_labelTitle->setFont(font);
    m_labelMessage->setText(Localization::text("EMPTY_SPACE_MESSAGE"));
    m_labelMessage->setStyleSheet(QStringLiteral("color: #999999;"));
    m_labelMessage->setWordWrap(true);
    for (QLabel* label : {m_labelTitle, m_labelMessage}) {
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignCenter);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(48, 24, 48, 24);
    layout->setSpacing(10);
    layout->addStretch(1);
    layout->addWidget(image);
    layout->addSpacing(6);
    layout->addWidget(m_labelTitle);
    layout->addWidget(m_labelMessage);
    layout->addStretch(2);
}
