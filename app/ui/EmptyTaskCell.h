#pragma once

#include <QWidget>

class QLabel;
class EmptyTaskAdapter;

// The row that stands in for the list when the catalogue has no task.
class EmptyTaskCell : public QWidget {
    Q_OBJECT
public:
    explicit EmptyTaskCell(QWidget* parent = nullptr);

    void configure(const EmptyTaskAdapter& adapter);

    QLabel* labelTitle() const { return m_labelTitle; }
    QLabel* labelTagline() const { return m_labelTagline; }

private:
    QLabel* m_labelIcon;
    QLabel* m_labelTitle;
    QLabel* m_labelTagline;
};
