#pragma once

#include <QWidget>

class QLabel;

// The one row of a day with nothing to list, and why.
class EmptyActivityCell : public QWidget {
    Q_OBJECT
public:
    EmptyActivityCell(const QString& title, const QString& tagline, QWidget* parent = nullptr);

    QLabel* labelTitle() const { return m_labelTitle; }
    QLabel* labelTagline() const { return m_labelTagline; }

private:
    QLabel* m_labelTitle;
    QLabel* m_labelTagline;
};
