#include "ui/ThiefCell.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

#include "store/Localization.h"
#include "ui/StretchView.h"
#include "ui/SvgPixmap.h"
#include "ui/ThiefPicture.h"

namespace {

// Thieves in the application's red; other activities in a calm blue.
QColor rowColor(const ActivityCellAdapter& adapter)
{
    return adapter.thief ? QColor(0xfe, 0x2f, 0x68) : QColor(0x59, 0xb6, 0xe8);
}

} // namespace

ThiefCell::ThiefCell(const ActivityCellAdapter& adapter, QWidget* parent)
    : QWidget(parent)
    , m_picture(new QLabel(this))
    , m_labelName(new QLabel(adapter.name(), this))
    , m_labelTime(new QLabel(ActivityCellAdapter::totalText(adapter.totalSeconds()), this))
    , m_viewInterruptions(new StretchView(rowColor(adapter), this))
    , m_buttonActions(new QToolButton(this))
{
    setObjectName(adapter.kind == ActivityCellAdapter::Kind::thief
                      ? QStringLiteral("ThiefCellView")
                      : QStringLiteral("WorkActivityCellView"));
    setFixedHeight(60);

    m_picture->setFixedSize(36, 36);
    m_picture->setPixmap(ThiefPicture::pixmap(adapter.image(), 36, devicePixelRatioF()));

    m_labelName->setTextFormat(Qt::PlainText);
    m_labelName->setStyleSheet(QStringLiteral("color: #313131;"));
    QFont nameFont = m_labelName->font();
    nameFont.setWeight(QFont::DemiBold);
    m_labelName->setFont(nameFont);
    m_labelName->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_labelName->setToolTip(adapter.identifier());
    m_labelTime->setStyleSheet(QStringLiteral("color: #999999;"));

    m_viewInterruptions->setActivities(adapter.activities);

    m_buttonActions->setIcon(SvgPixmap::tintedIcon(QStringLiteral("Panel-Actions"), QSize(16, 16),
                                                   QColor(0x99, 0x99, 0x99)));
    m_buttonActions->setAutoRaise(true);
    m_buttonActions->setCursor(Qt::PointingHandCursor);
    m_buttonActions->setToolTip(Localization::text("THIEF_CELL_ACTIONS"));
    m_buttonActions->setAccessibleName(m_buttonActions->toolTip());
    connect(m_buttonActions, &QToolButton::clicked, this, [this] {
        emit actionsRequested(m_buttonActions->mapToGlobal(QPoint(0, m_buttonActions->height())));
    });

    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addStretch(1);
    texts->addWidget(m_labelName);
    texts->addWidget(m_labelTime);
    texts->addStretch(1);

    auto* leading = new QWidget(this);
    leading->setFixedWidth(leadingWidth);
    auto* leadingLayout = new QHBoxLayout(leading);
    leadingLayout->setContentsMargins(16, 0, 12, 0);
    leadingLayout->setSpacing(12);
    leadingLayout->addWidget(m_picture);
    leadingLayout->addLayout(texts, 1);

    auto* trailing = new QWidget(this);
    trailing->setFixedWidth(trailingWidth);
    auto* trailingLayout = new QHBoxLayout(trailing);
    trailingLayout->setContentsMargins(6, 0, 10, 0);
    trailingLayout->addWidget(m_buttonActions);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(leading);
    layout->addWidget(m_viewInterruptions, 1);
    layout->addWidget(trailing);
}

void ThiefCell::setRange(Date from, Date to)
{
    m_viewInterruptions->setRange(from, to);
}

void ThiefCell::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(QColor(0xf0, 0xf0, 0xf0));
    painter.drawLine(16, height() - 1, width(), height() - 1);
}
