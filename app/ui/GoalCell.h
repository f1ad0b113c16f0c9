#pragma once

#include "reports/LogbookRow.h"
#include "ui/LogbookCell.h"

class QLabel;

// The day's goal, reached, and how many task intervals it asked for.
class GoalCell : public LogbookCell {
    Q_OBJECT
public:
    explicit GoalCell(QWidget* parent = nullptr);

    void configure(const LogbookRow& row);

    QLabel* labelTitle() const { return m_labelTitle; }
    QLabel* labelDescription() const { return m_labelDescription; }
    QLabel* labelClock() const { return m_labelClock; }

private:
    QLabel* m_labelTitle;
    QLabel* m_labelDescription;
    QLabel* m_labelClock;
};
