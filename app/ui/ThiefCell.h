#pragma once

#include <QWidget>

#include "store/Date.h"
#include "ui/ActivityCellAdapter.h"

class QLabel;
class QToolButton;
class StretchView;

// A row of the thief window: the picture, the name and the day's total of a thief or of a
// recorded activity, and its stretches on the timeline.
class ThiefCell : public QWidget {
    Q_OBJECT
public:
    // The header lines its hour labels up with the timeline through these widths.
    static constexpr int leadingWidth = 250;
    static constexpr int trailingWidth = 44;

    explicit ThiefCell(const ActivityCellAdapter& adapter, QWidget* parent = nullptr);

    void setRange(Date from, Date to);

    QLabel* labelName() const { return m_labelName; }
    QLabel* labelTime() const { return m_labelTime; }
    StretchView* viewInterruptions() const { return m_viewInterruptions; }
    // Opens the row's actions.
    QToolButton* buttonActions() const { return m_buttonActions; }

signals:
    void actionsRequested(const QPoint& globalPosition);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* m_picture;
    QLabel* m_labelName;
    QLabel* m_labelTime;
    StretchView* m_viewInterruptions;
    QToolButton* m_buttonActions;
};
