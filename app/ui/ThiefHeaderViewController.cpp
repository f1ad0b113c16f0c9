#include "ui/ThiefHeaderViewController.h"

#include <QLabel>
#include <QPainter>
#include <QToolButton>

#include "store/Localization.h"
#include "ui/SvgPixmap.h"
#include "ui/ThiefCell.h"

namespace {

constexpr int headerHeight = 44;
constexpr int buttonSide = 26;

QToolButton* stepButton(QWidget* parent, const char* image, const char* title)
{
    auto* button = new QToolButton(parent);
    QIcon icon;
    icon.addPixmap(
        SvgPixmap::tinted(QString::fromLatin1(image), QSize(14, 14), QColor(0x31, 0x31, 0x31)));
    icon.addPixmap(
        SvgPixmap::tinted(QString::fromLatin1(image), QSize(14, 14), QColor(0xcc, 0xcc, 0xcc)),
        QIcon::Disabled);
    button->setIcon(icon);
    button->setAutoRaise(true);
    button->setFixedSize(buttonSide, buttonSide);
    button->setCursor(Qt::PointingHandCursor);
    button->setToolTip(Localization::text(title));
    button->setAccessibleName(button->toolTip());
    return button;
}

} // namespace

ThiefHeaderViewController::ThiefHeaderViewController(QWidget* parent)
    : QWidget(parent)
    , m_labelMode(new QLabel(this))
    , m_buttonBack(stepButton(this, "Logbook-Previous", "THIEF_TIMELINE_EARLIER"))
    , m_buttonForward(stepButton(this, "Logbook-Next", "THIEF_TIMELINE_LATER"))
{
    setObjectName(QStringLiteral("ThiefHeaderViewController"));
    setFixedHeight(headerHeight);
    m_labelMode->setStyleSheet(QStringLiteral("color: #313131;"));
    QFont modeFont = m_labelMode->font();
    modeFont.setWeight(QFont::DemiBold);
    m_labelMode->setFont(modeFont);
    for (QLabel*& label : m_labels) {
        label = new QLabel(this);
        label->setAlignment(Qt::AlignCenter);
        label->setStyleSheet(QStringLiteral("color: #777777;"));
    }
    connect(m_buttonBack, &QToolButton::clicked, this, &ThiefHeaderViewController::doBackButtonTap);
    connect(m_buttonForward, &QToolButton::clicked, this,
            &ThiefHeaderViewController::doForwardButtonTap);
    setListingMode(ThiefListing::thiefs);
    refresh();
}

void ThiefHeaderViewController::setListingMode(ThiefListing mode)
{
    m_labelMode->setText(Localization::text(mode == ThiefListing::thiefs ? "THIEF_LIST_MODE_THIEF"
                                                                         : "THIEF_LIST_MODE_ALL"));
}

void ThiefHeaderViewController::doBackButtonTap()
{
    m_hours.back();
    refresh();
    emit rangeChanged(m_hours.hour(), m_hours.endHour());
}

void ThiefHeaderViewController::doForwardButtonTap()
{
    m_hours.forward();
    refresh();
    emit rangeChanged(m_hours.hour(), m_hours.endHour());
}

void ThiefHeaderViewController::refresh()
{
    for (int i = 0; i < int(m_labels.size()); ++i)
        m_labels[i]->setText(m_hours.label(i));
    m_buttonBack->setEnabled(m_hours.canGoBack());
    m_buttonForward->setEnabled(m_hours.canGoForward());
    placeLabels();
}

QRect ThiefHeaderViewController::rulerRect() const
{
    return QRect(ThiefCell::leadingWidth, 0,
                 width() - ThiefCell::leadingWidth - ThiefCell::trailingWidth, height());
}

void ThiefHeaderViewController::placeLabels()
{
    const QRect ruler = rulerRect();
    const int middle = (height() - buttonSide) / 2;
    m_labelMode->setGeometry(16, 0, ThiefCell::leadingWidth - 16 - buttonSide - 8, height());
    m_buttonBack->move(ThiefCell::leadingWidth - buttonSide - 4, middle);
    m_buttonForward->move(ruler.right() + 6, middle);
    // Each label sits centred over its line of the rows' timeline, kept inside the ruler.
    for (int i = 0; i < int(m_labels.size()); ++i) {
        QLabel* label = m_labels[i];
        const int w = label->sizeHint().width() + 4;
        const int centre = ruler.left() + i * (ruler.width() - 1) / 3;
        const int left = std::clamp(centre - w / 2, ruler.left(), ruler.right() - w);
        label->setGeometry(left, 4, w, height() - 16);
    }
}

void ThiefHeaderViewController::resizeEvent(QResizeEvent*)
{
    placeLabels();
}

void ThiefHeaderViewController::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0xf6, 0xf6, 0xf6));
    painter.setPen(QColor(0xe2, 0xe2, 0xe2));
    painter.drawLine(0, height() - 1, width(), height() - 1);
    // The ticks under the labels, where the rows' faint lines run.
    const QRect ruler = rulerRect();
    painter.setPen(QPen(QColor(0xb0, 0xb0, 0xb0), 1));
    for (int i = 0; i <= 3; ++i) {
        const qreal x = std::clamp(ruler.left() + i * (ruler.width() - 1) / 3.0, ruler.left() + 0.5,
                                   ruler.right() - 0.5);
        painter.drawLine(QPointF(x, height() - 10), QPointF(x, height() - 2));
    }
}
