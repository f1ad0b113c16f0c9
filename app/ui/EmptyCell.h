#pragma once

#include <QWidget>

class QLabel;

// The one row of a day without records.
class EmptyCell : public QWidget {
    Q_OBJECT
public:
    explicit EmptyCell(QWidget* parent = nullptr);

    QLabel* labelTitle() const { return m_labelTitle; }
    QLabel* labelMessage() const { return m_labelMessage; }

private:
    QLabel* m_labelTitle;
    QLabel* m_labelMessage;
};
