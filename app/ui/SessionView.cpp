#include "ui/SessionView.h"

#include <QLabel>
#include <QPainter>

#include "ColorHelpers.h"
#include "timer/WorkSession.h"
#include "ui/RingLabel.h"

namespace {} // namespace

SessionView::SessionView(QWidget* parent)
    : QWidget(parent)
{
    labelTitle = makeRingLabel(this, "#999999", 0.8, QFont::Medium);
    labelQuantity = makeRingLabel(this, "#313131", 1.9, QFont::Normal);
    labelTotal = makeRingLabel(this, "#dfdfdf", 1.1, QFont::Medium);
    labelUnit = makeRingLabel(this, "#999999", 0.75, QFont::Normal);
    showCount(0, 0);
}

void SessionView::setWorkSession(WorkSession* session)
{
    m_workSession = session;
    if (!session)
        return;
    session->setDelegate(this);
    showCount(session->currentTask(), session->totalTasks());
}

void SessionView::setTitle(const QString& title)
{
    labelTitle->setText(title);
    // Read out, though not a control: the count is only drawn.
    setAccessibleName(title);
}

void SessionView::setUnitName(const QString& unitName)
{
    labelUnit->setText(unitName);
}

void SessionView::setTheme(const RingGeometry::Theme& theme)
{
    m_theme = theme;
    update();
}

void SessionView::setRingAlign(RingAlign align)
{
    m_ringAlign = align;
    layoutLabels();
    update();
}

int SessionView::percentage() const
{
    return m_workSession
               ? RingGeometry::percentage(m_workSession->currentTask(), m_workSession->totalTasks())
               : 0;
}

void SessionView::workSessionDidAdvance(WorkSession&, int currentTask, int totalTasks)
{
    showCount(currentTask, totalTasks);
}

void SessionView::workSessionDidRefresh(WorkSession& session)
{
    showCount(session.currentTask(), session.totalTasks());
}

void SessionView::workSessionDidChangeTotal(WorkSession& session)
{
    showCount(session.currentTask(), session.totalTasks());
}

void SessionView::showCount(int currentTask, int totalTasks)
{
    labelQuantity->setText(QString::number(currentTask));
    labelTotal->setText(QStringLiteral("/ ") + QString::number(totalTasks));
    setAccessibleDescription(labelQuantity->text() + QLatin1Char(' ') + labelTotal->text() +
                             QLatin1Char(' ') + labelUnit->text());
    layoutLabels();
    update();
}

void SessionView::layoutLabels()
{
    const double r = RingGeometry::radius(size());
    if (r <= 0)
        return;
    const QPointF c = RingGeometry::centre(size(), m_ringAlign, r);
    const int width = static_cast<int>(2 * r - RingGeometry::backgroundLineWidth);
    const int left = static_cast<int>(c.x()) - width / 2;
    const int cy = static_cast<int>(c.y());

    // The count and its total read as one line, centred together.
    const QSize quantity = labelQuantity->sizeHint();
    const QSize total = labelTotal->sizeHint();
    const int gap = 3;
    const int lineLeft = static_cast<int>(c.x()) - (quantity.width() + gap + total.width()) / 2;
    const int lineTop = cy - quantity.height() / 2;
    labelQuantity->setGeometry(lineLeft, lineTop, quantity.width(), quantity.height());
    // Sits on the count's baseline.
    const int baseline = lineTop + (quantity.height() + labelQuantity->fontMetrics().ascent() -
                                    labelQuantity->fontMetrics().descent()) /
                                       2;
    const int totalTop = baseline - (total.height() + labelTotal->fontMetrics().ascent() -
                                     labelTotal->fontMetrics().descent()) /
                                        2;
    labelTotal->setGeometry(lineLeft + quantity.width() + gap, totalTop, total.width(),
                            total.height());

    const int titleHeight = labelTitle->sizeHint().height();
    labelTitle->setGeometry(left, lineTop - titleHeight + 2, width, titleHeight);
    const int unitHeight = labelUnit->sizeHint().height();
    labelUnit->setGeometry(left, lineTop + quantity.height() - 2, width, unitHeight);
}

void SessionView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    RingGeometry::paint(painter, size(), m_ringAlign, m_theme, percentage());
}

void SessionView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutLabels();
}
