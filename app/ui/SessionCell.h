#pragma once

#include "reports/LogbookRow.h"
#include "ui/LogbookCell.h"

class QLabel;

// A completed session and how many task intervals it held.
class SessionCell : public LogbookCell {
    Q_OBJECT
public:
    explicit SessionCell(QWidget* parent = nullptr);

    void configure(const LogbookRow& row);

    QLabel* labelTitle() const { return m_labelTitle; }
    QLabel* labelDescription() const { return m_labelDescription; }
    QLabel* labelClock() const { return m_labelClock; }

private:
    QLabel* m_labelTitle;
    QLabel* m_labelDescription;
    QLabel* m_labelClock;
};
