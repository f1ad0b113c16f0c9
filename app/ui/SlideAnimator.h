#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include "ui/ScreenTransition.h"

class QParallelAnimationGroup;

// Moves widgets to new frames with a short ease-out, one run at a time: starting a run first
// brings a running one to its end. With animations off every run ends before it returns.
class SlideAnimator : public QObject {
    Q_OBJECT
public:
    static constexpr int durationMs = 250;

    explicit SlideAnimator(QObject* parent = nullptr);
    ~SlideAnimator() override;

    // `to` takes the place of `from` at `frame`: both move together in `direction`, then `from`
    // is hidden and put back at `frame`.
    void slide(QWidget* from, QWidget* to, SlideDirection direction, const QRect& frame);
    // Moves one widget to `frame`.
    void move(QWidget* widget, const QRect& frame);
    // Jumps a running run to its end.
    void finish();

    bool isRunning() const;
    // Where the widget will rest: its target while a run moves it, else its frame.
    QRect restingFrame(const QWidget* widget) const;

    // Off in tests that check the end state only; applies to every animator.
    static void setAnimationsEnabled(bool enabled);
    static bool animationsEnabled();

signals:
    void finished();

private:
    struct Move {
        QPointer<QWidget> widget;
        QRect end;
    };
    void run(QList<Move> moves, QWidget* hideAtEnd, const QRect& hiddenFrame);
    void complete();

    QParallelAnimationGroup* m_group = nullptr;
    QList<Move> m_moves;
    QPointer<QWidget> m_hideAtEnd;
    QRect m_hiddenFrame;
};
