#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "timer/WorkSession.h"
#include "timer/WorkSessionDelegate.h"
#include "ui/RingGeometry.h"

class QLabel;

// A small ring of the activity panel: how far the session or the daily goal has come.
class SessionView : public QWidget, public WorkSessionDelegate {
    Q_OBJECT
public:
    explicit SessionView(QWidget* parent = nullptr);

    // The view becomes the counter's delegate and shows its count.
    void setWorkSession(WorkSession* session);
    WorkSession* workSession() const { return m_workSession; }
    // Already localised.
    void setTitle(const QString& title);
    void setUnitName(const QString& unitName);
    RingGeometry::Theme theme() const { return m_theme; }
    void setTheme(const RingGeometry::Theme& theme);
    RingAlign ringAlign() const { return m_ringAlign; }
    void setRingAlign(RingAlign align);
    int percentage() const;

    void workSessionDidAdvance(WorkSession& session, int currentTask, int totalTasks) override;
    void workSessionDidRefresh(WorkSession& session) override;
    void workSessionDidChangeTotal(WorkSession& session) override;

    QLabel* labelTitle = nullptr;
    QLabel* labelQuantity = nullptr;
    QLabel* labelTotal = nullptr;
    QLabel* labelUnit = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showCount(int currentTask, int totalTasks);
    void layoutLabels();

    QPointer<WorkSession> m_workSession;
    RingGeometry::Theme m_theme = RingGeometry::Theme::task();
    RingAlign m_ringAlign = RingAlign::center;
};
