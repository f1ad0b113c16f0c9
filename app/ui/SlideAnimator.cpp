#include "ui/SlideAnimator.h"

#include <atomic>

#include <QEasingCurve>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>

namespace {

std::atomic<bool>& enabledFlag()
{
    static std::atomic<bool> enabled{true};
    return enabled;
}

} // namespace

SlideAnimator::SlideAnimator(QObject* parent)
    : QObject(parent)
{}

SlideAnimator::~SlideAnimator()
{
    // The group is our child: stop it before QObject deletes it so it cannot call complete().
    if (m_group)
        m_group->stop();
}

void SlideAnimator::setAnimationsEnabled(bool enabled)
{
    enabledFlag() = enabled;
}

bool SlideAnimator::animationsEnabled()
{
    return enabledFlag();
}

void SlideAnimator::slide(QWidget* from, QWidget* to, SlideDirection direction, const QRect& frame)
{
    finish();
    const int offset = direction == SlideDirection::left ? frame.width() : -frame.width();
    to->setGeometry(frame.translated(offset, 0));
    to->show();
    QList<Move> moves{{to, frame}};
    if (from && from != to)
        moves.append({from, frame.translated(-offset, 0)});
    run(moves, from != to ? from : nullptr, frame);
}

void SlideAnimator::move(QWidget* widget, const QRect& frame)
{
    finish();
    run({{widget, frame}}, nullptr, QRect());
}

void SlideAnimator::run(QList<Move> moves, QWidget* hideAtEnd, const QRect& hiddenFrame)
{
    m_moves = std::move(moves);
    m_hideAtEnd = hideAtEnd;
    m_hiddenFrame = hiddenFrame;
    if (!animationsEnabled()) {
        complete();
        return;
    }
    m_group = new QParallelAnimationGroup(this);
    for (const Move& move : std::as_const(m_moves)) {
        auto* animation = new QPropertyAnimation(move.widget, "geometry", m_group);
        animation->setDuration(durationMs);
        animation->setEasingCurve(QEasingCurve::OutCubic);
        animation->setStartValue(move.widget->geometry());
        animation->setEndValue(move.end);
        m_group->addAnimation(animation);
    }
    connect(m_group, &QAbstractAnimation::finished, this, &SlideAnimator::complete);
    m_group->start();
}

void SlideAnimator::finish()
{
    if (isRunning())
        complete();
}

void SlideAnimator::complete()
{
    if (m_group) {
        m_group->disconnect(this);
        m_group->stop();
        m_group->deleteLater();
        m_group = nullptr;
    }
    for (const Move& move : std::as_const(m_moves)) {
        if (move.widget)
            move.widget->setGeometry(move.end);
    }
    if (m_hideAtEnd) {
        m_hideAtEnd->hide();
        m_hideAtEnd->setGeometry(m_hiddenFrame);
    }
    m_moves.clear();
    m_hideAtEnd = nullptr;
    emit finished();
}

bool SlideAnimator::isRunning() const
{
    return m_group != nullptr;
}

QRect SlideAnimator::restingFrame(const QWidget* widget) const
{
    for (const Move& move : m_moves) {
        if (move.widget == widget)
            return move.end;
    }
    return widget->geometry();
}
