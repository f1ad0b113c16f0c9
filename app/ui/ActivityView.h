#pragma once

#include <optional>
#include <tuple>

#include <QPixmap>
#include <QWidget>

#include "timer/ActivityDelegate.h"
#include "timer/PhaseReactions.h"
#include "ui/RingGeometry.h"

class Activity;
class ActivityManager;
class QLabel;

// The large ring of the activity panel: the time left in the current phase. It is the
// countdown's delegate, so it also carries out what happens when a phase ends.
class ActivityView : public QWidget, public ActivityDelegate {
    Q_OBJECT
public:
    enum class State { running, stopped };

    explicit ActivityView(ActivityManager& manager, QWidget* parent = nullptr);

    // Done once, when the panel loads: the view becomes the countdown's delegate.
    void setActivity(Activity* activity);
    Activity* activity() const { return m_activity; }

    RingGeometry::Theme theme() const { return m_theme; }
    void setTheme(const RingGeometry::Theme& theme);
    RingAlign ringAlign() const { return m_ringAlign; }
    void setRingAlign(RingAlign align);
    std::optional<State> activityState() const { return m_activityState; }
    // Of the phase, in whole percent.
    int percentage() const;

    // What a click on the ring does: pause a running countdown, otherwise start it.
    void toggle();

    void activityDidUpdateTask(Activity& activity, int remaining) override;
    void activityDidUpdateFreeTime(Activity& activity, int remaining) override;
    void activityDidStartTask(Activity& activity) override;
    void activityDidFinishTask(Activity& activity) override;
    void activityDidStartFreeTime(Activity& activity) override;
    void activityDidFinishFreeTime(Activity& activity) override;
    void activityDidPause(Activity& activity) override;

    QLabel* labelTitle = nullptr;
    QLabel* labelTime = nullptr;
    QLabel* labelUnit = nullptr;
    QLabel* imagePaused = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void showRemaining(int remaining);
    void showTick(int remaining);
    void showRunning();
    void showStopped();
    void setTitle(const char* key);
    void layoutLabels();
    void drawPausedImage();
    bool isOnRing(const QPointF& point) const;
    const QPixmap& ring();

    ActivityManager& m_manager;
    PhaseReactions m_reactions;
    // The countdown lives as long as the process, longer than any view.
    Activity* m_activity = nullptr;
    RingGeometry::Theme m_theme = RingGeometry::Theme::task();
    std::optional<State> m_activityState;
    RingAlign m_ringAlign = RingAlign::center;
    bool m_pressedOnRing = false;
    // The ring changes once a percent (15 s of a 25-minute task); the time under it every
    // second. Drawn once into a pixmap, a tick repaints only the text and copies the rest.
    QPixmap m_ring;
    std::tuple<QSize, qreal, int, QString, RingAlign> m_ringKey;
    // Ticks that arrived while hidden leave the labels to the next show.
    bool m_labelsStale = false;
};
