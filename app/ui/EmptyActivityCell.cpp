#include "ui/EmptyActivityCell.h"

#include <QLabel>
#include <QVBoxLayout>

EmptyActivityCell::EmptyActivityCell(const QString& title, const QString& tagline, QWidget* parent)
    : QWidget(parent)
    , m_labelTitle(new QLabel(title, this))
    , m_labelTagline(new QLabel(tagline, this))
{
    setObjectName(QStringLiteral("EmptyActivityCellView"));
    setMinimumHeight(160);
    QFont titleFont = m_labelTitle->font();
    titleFont.setWeight(QFont::DemiBold);
    if (titleFont.pointSizeF() > 0)
        titleFont.setPointSizeF(titleFont.pointSizeF() + 3);
    m_labelTitle->setFont(titleFont);
    m_labelTitle->setStyleSheet(QStringLiteral("color: #313131;"));
    m_labelTagline->setStyleSheet(QStringLiteral("color: #999999;"));
    m_labelTagline->setWordWrap(true);
    for (QLabel* label : {m_labelTitle, m_labelTagline}) {
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignCenter);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 30, 40, 30);
    layout->addStretch(1);
    layout->addWidget(m_labelTitle);
    layout->addWidget(m_labelTagline);
    layout->addStretch(1);
}
