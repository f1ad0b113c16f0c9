#include "ui/LogbookCell.h"
#include "ui/ClockTime.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "ColorHelpers.h"
#include "store/Date.h"

namespace {

constexpr int timelineX = 30;
constexpr int textsLeft = 58;
constexpr int dotRadius = 6;

} // namespace

QString LogbookCell::shortTime(double moment)
{
    return ClockTime::text(Date(moment).toDateTime().time());
}

LogbookCell::LogbookCell(const QColor& accent, QWidget* parent)
    : QWidget(parent)
    , m_accent(accent)
    , m_texts(new QVBoxLayout)
    , m_trailing(new QVBoxLayout)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(textsLeft, 12, 18, 12);
    row->setSpacing(12);
    m_texts->setSpacing(4);
    m_texts->addStretch(1);
    m_trailing->setSpacing(4);
    m_trailing->addStretch(1);
    row->addLayout(m_texts, 1);
    row->addLayout(m_trailing);
}

QLabel* LogbookCell::makeLabel(const QString& color, qreal pointSizeDelta, bool strong)
{
    auto* label = new QLabel(this);
    label->setTextFormat(Qt::PlainText);
    // Named for the logbook's one style sheet rather than a sheet of their own: a day has
    // dozens of labels, and each style sheet is parsed and polished on its own. The palette
    // serves a cell shown outside the logbook.
    label->setObjectName(color == QLatin1String(secondaryColor) ? QStringLiteral("secondaryText")
                                                                : QStringLiteral("titleText"));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, ColorHelpers::color(color));
    label->setPalette(palette);
    QFont font = label->font();
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() + pointSizeDelta);
    if (strong)
        font.setWeight(QFont::DemiBold);
    label->setFont(font);
    return label;
}

void LogbookCell::setSelected(bool selected)
{
    if (selected == m_selected)
        return;
    m_selected = selected;
    update();
}

void LogbookCell::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_selected ? QColor(0xf1, 0xf8, 0xfd) : QColor(Qt::white));
    if (m_selected)
        painter.fillRect(QRect(0, 0, 3, height()), QColor(0x59, 0xb6, 0xe8));
    painter.setRenderHint(QPainter::Antialiasing);
    // The timeline runs through every row; the separator starts where the texts do.
    painter.fillRect(QRect(timelineX - 1, 0, 2, height()), QColor(0xeb, 0xeb, 0xeb));
    painter.fillRect(QRect(textsLeft, height() - 1, width() - textsLeft, 1),
                     QColor(0xf0, 0xf0, 0xf0));
    const QPointF centre(timelineX, height() / 2.0);
    if (m_hollowDot) {
        painter.setPen(QPen(m_accent, 2.5));
        painter.setBrush(Qt::white);
    } else {
        painter.setPen(QPen(Qt::white, 3));
        painter.setBrush(m_accent);
    }
    painter.drawEllipse(centre, dotRadius, dotRadius);
}
