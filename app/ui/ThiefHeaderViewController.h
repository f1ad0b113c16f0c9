#pragma once

#include <array>

#include <QWidget>

#include "ui/ThiefListing.h"
#include "ui/TimelineHours.h"

class QLabel;
class QToolButton;

// The timeline's header: which rows are listed, and the six hours shown, moved an hour at a
// time with the back and forward buttons.
class ThiefHeaderViewController : public QWidget {
    Q_OBJECT
public:
    explicit ThiefHeaderViewController(QWidget* parent = nullptr);

    int hour() const { return m_hours.hour(); }
    void setListingMode(ThiefListing mode);

    void doBackButtonTap();
    void doForwardButtonTap();

    QLabel* labelMode() const { return m_labelMode; }
    QLabel* label(int index) const { return m_labels[index]; }
    QToolButton* buttonBack() const { return m_buttonBack; }
    QToolButton* buttonForward() const { return m_buttonForward; }

signals:
    // The first and the last hour of the range now shown.
    void rangeChanged(int startHour, int endHour);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void refresh();
    void placeLabels();
    QRect rulerRect() const;

    TimelineHours m_hours;
    QLabel* m_labelMode;
    std::array<QLabel*, 4> m_labels{};
    QToolButton* m_buttonBack;
    QToolButton* m_buttonForward;
};
