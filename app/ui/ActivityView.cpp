#include "ui/ActivityView.h"

#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "ColorHelpers.h"
#include "ImageHelpers.h"
#include "services/Handoff.h"
#include "settings/Settings.h"
#include "store/Localization.h"
#include "timer/Activity.h"
#include "timer/ActivityManager.h"
#include "ui/FocusRing.h"
#include "ui/RingLabel.h"
#include "ui/StatusItem.h"
#include "ui/TimeText.h"

ActivityView::ActivityView(ActivityManager& manager, QWidget* parent)
    : QWidget(parent)
    , m_manager(manager)
    , m_reactions(manager)
{
    labelTitle = makeRingLabel(this, "#999999", 1.0, QFont::Medium);
    labelTime = makeRingLabel(this, "#313131", 3.4, QFont::Light);
    labelUnit = makeRingLabel(this, "#999999", 0.95, QFont::Normal);
    imagePaused = new QLabel(this);
    imagePaused->setAlignment(Qt::AlignCenter);
    imagePaused->setAttribute(Qt::WA_TransparentForMouseEvents);
    imagePaused->hide();
    setMouseTracking(true);
    setTitle("ACTIVITY_POMODORO");
    // The ring is the start and pause button: Tab reaches it, Return and Space work it.
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(Localization::text("ACTIVITY_TIMER_ACCESSIBLE"));
}

void ActivityView::setActivity(Activity* activity)
{
    m_activity = activity;
    setTitle("ACTIVITY_POMODORO");
    if (!activity)
        return;
    activity->setDelegate(this);
    if (Settings::shared().boolValue(QLatin1String(Settings::PomodoroStartLaunch))) {
        showRunning();
        m_activityState = State::running;
    } else {
        showStopped();
        m_activityState = State::stopped;
    }
    setTheme(RingGeometry::Theme::task());
    showRemaining(activity->remaining());
}

void ActivityView::setTheme(const RingGeometry::Theme& theme)
{
    if (theme == m_theme)
        return;
    m_theme = theme;
    drawPausedImage();
    QWidget::update();
}

void ActivityView::setRingAlign(RingAlign align)
{
    m_ringAlign = align;
    layoutLabels();
    QWidget::update();
}

int ActivityView::percentage() const
{
    return m_activity ? RingGeometry::percentage(m_activity->timelapse(), m_activity->totaltime())
                      : 0;
}

void ActivityView::toggle()
{
    if (!m_activity)
        return;
    if (m_activityState == State::running) {
        m_activity->pause();
        setTheme(RingGeometry::Theme::task());
        showStopped();
    } else {
        m_activity->start();
        setTheme(m_activity->onActivity() ? RingGeometry::Theme::task()
                                          : RingGeometry::Theme::freeTime());
        showRunning();
    }
    QWidget::update();
}

void ActivityView::activityDidUpdateTask(Activity&, int remaining)
{
    showTick(remaining);
}

void ActivityView::activityDidUpdateFreeTime(Activity&, int remaining)
{
    showTick(remaining);
}

void ActivityView::activityDidStartTask(Activity& activity)
{
    showRunning();
    m_activityState = State::running;
    setTheme(RingGeometry::Theme::task());
    showRemaining(activity.remaining());
}

void ActivityView::activityDidFinishTask(Activity&)
{
    m_reactions.taskDidFinish();
}

void ActivityView::activityDidStartFreeTime(Activity& activity)
{
    showRunning();
    m_activityState = State::running;
    setTheme(RingGeometry::Theme::freeTime());
    setTitle("ACTIVITY_CONTINUE");
    showRemaining(activity.remaining());
}

void ActivityView::activityDidFinishFreeTime(Activity&)
{
    m_reactions.freeTimeDidFinish();
}

void ActivityView::activityDidPause(Activity&)
{
    showStopped();
    m_activityState = State::stopped;
    StatusItem::shared().setTitle(TimeText::pausedStatusTitle());
    Handoff::publish(m_manager);
}

void ActivityView::showRemaining(int remaining)
{
    labelUnit->setText(Localization::text(TimeText::unitKey(remaining)));
    labelTime->setText(TimeText::text(remaining));
}

void ActivityView::showTick(int remaining)
{
    StatusItem::shared().setTitle(TimeText::statusTitle(remaining));
    Handoff::publish(m_manager);
    if (!isVisible()) {
        m_labelsStale = true;
        return;
    }
    showRemaining(remaining);
    if (std::get<2>(m_ringKey) != percentage())
        QWidget::update();
}

void ActivityView::showRunning()
{
    imagePaused->hide();
    labelTime->show();
    labelUnit->show();
    setTitle("ACTIVITY_POMODORO");
}

void ActivityView::showStopped()
{
    imagePaused->show();
    labelTime->hide();
    labelUnit->hide();
    setTitle("ACTIVITY_PAUSED");
}

void ActivityView::setTitle(const char* key)
{
    labelTitle->setText(Localization::text(key));
}

void ActivityView::layoutLabels()
{
    const double r = RingGeometry::radius(size());
    if (r <= 0)
        return;
    const QPointF c = RingGeometry::centre(size(), m_ringAlign, r);
    const int width = static_cast<int>(2 * r - RingGeometry::backgroundLineWidth);
    const int left = static_cast<int>(c.x()) - width / 2;
    const int cy = static_cast<int>(c.y());

    const int timeHeight = labelTime->sizeHint().height();
    labelTime->setGeometry(left, cy - timeHeight / 2, width, timeHeight);
    const int titleHeight = labelTitle->sizeHint().height();
    labelTitle->setGeometry(left, cy - timeHeight / 2 - titleHeight, width, titleHeight);
    const int unitHeight = labelUnit->sizeHint().height();
    labelUnit->setGeometry(left, cy + timeHeight / 2, width, unitHeight);

    const int side = static_cast<int>(r * 0.55);
    imagePaused->setGeometry(static_cast<int>(c.x()) - side / 2, cy - side / 2 + titleHeight / 2,
                             side, side);
    drawPausedImage();
}

void ActivityView::drawPausedImage()
{
    const QSize side = imagePaused->size();
    if (side.isEmpty())
        return;
    QIcon icon(QStringLiteral(":/zestra/images/Panel-Paused.svg"));
    icon.setIsMask(true);
    const QIcon tinted = ImageHelpers::tinted(icon, ColorHelpers::color(m_theme.dark));
    imagePaused->setPixmap(tinted.pixmap(side, devicePixelRatioF()));
}

bool ActivityView::isOnRing(const QPointF& point) const
{
    const double r = RingGeometry::radius(size());
    const QPointF d = point - RingGeometry::centre(size(), m_ringAlign, r);
    const double reach = r + RingGeometry::backgroundLineWidth / 2;
    return d.x() * d.x() + d.y() * d.y() <= reach * reach;
}

const QPixmap& ActivityView::ring()
{
    const qreal ratio = devicePixelRatioF();
    const auto key = std::make_tuple(size(), ratio, percentage(), m_theme.dark, m_ringAlign);
    if (key != m_ringKey || m_ring.isNull()) {
        m_ringKey = key;
        m_ring = QPixmap(size() * ratio);
        m_ring.setDevicePixelRatio(ratio);
        m_ring.fill(Qt::transparent);
        QPainter painter(&m_ring);
        RingGeometry::paint(painter, size(), m_ringAlign, m_theme, percentage());
    }
    return m_ring;
}

void ActivityView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect area = event->rect();
    const QPixmap& image = ring();
    const qreal ratio = image.devicePixelRatio();
    painter.drawPixmap(
        area, image,
        QRectF(area.x() * ratio, area.y() * ratio, area.width() * ratio, area.height() * ratio));
    if (hasFocus()) {
        const double r = RingGeometry::radius(size());
        FocusRing::paintCircle(painter, RingGeometry::centre(size(), m_ringAlign, r),
                               r + RingGeometry::backgroundLineWidth / 2 + 4);
    }
}

void ActivityView::keyPressEvent(QKeyEvent* event)
{
    // Space comes as the panel's shortcut, which does the same.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        toggle();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ActivityView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_labelsStale && m_activity) {
        m_labelsStale = false;
        showRemaining(m_activity->remaining());
    }
}

void ActivityView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutLabels();
}

void ActivityView::mouseMoveEvent(QMouseEvent* event)
{
    // Only the ring is clickable, so only the ring shows a hand.
    if (isOnRing(event->position()))
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
    QWidget::mouseMoveEvent(event);
}

void ActivityView::mousePressEvent(QMouseEvent* event)
{
    m_pressedOnRing = event->button() == Qt::LeftButton && isOnRing(event->position());
    event->accept();
}

void ActivityView::mouseReleaseEvent(QMouseEvent* event)
{
    const bool clicked =
        m_pressedOnRing && event->button() == Qt::LeftButton && isOnRing(event->position());
    m_pressedOnRing = false;
    if (clicked)
        toggle();
    event->accept();
}
