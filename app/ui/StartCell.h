#pragma once

#include "reports/LogbookRow.h"
#include "ui/LogbookCell.h"

class QLabel;

// The last row: when the day's work began.
class StartCell : public LogbookCell {
    Q_OBJECT
public:
    explicit StartCell(QWidget* parent = nullptr);

    void configure(const LogbookRow& row);

    QLabel* labelTitle() const { return m_labelTitle; }
    QLabel* labelTimeTitle() const { return m_labelTimeTitle; }
    QLabel* labelTime() const { return m_labelTime; }

private:
    QLabel* m_labelTitle;
    QLabel* m_labelTimeTitle;
    QLabel* m_labelTime;
};
