#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

class QLabel;
class QVBoxLayout;

// What the rows of the logbook share: a white row on a timeline, with a dot in the row's
// colour, titles in dark grey and secondary texts in light grey.
class LogbookCell : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* titleColor = "#313131";
    static constexpr const char* secondaryColor = "#999999";

    // Clock time of a moment (seconds since 2001-01-01 UTC) in the user's short style.
    static QString shortTime(double moment);

    // The table's selected row, which the Delete key removes.
    void setSelected(bool selected);
    bool isSelected() const { return m_selected; }

protected:
    LogbookCell(const QColor& accent, QWidget* parent);

    // Plain text always: a task name is never read as markup.
    QLabel* makeLabel(const QString& color, qreal pointSizeDelta, bool strong);
    // The column right of the timeline, where the texts go.
    QVBoxLayout* texts() const { return m_texts; }
    // The column at the trailing edge.
    QVBoxLayout* trailing() const { return m_trailing; }

    void paintEvent(QPaintEvent* event) override;

    // A hollow dot: the row marks a moment rather than a record.
    bool m_hollowDot = false;

private:
    QColor m_accent;
    bool m_selected = false;
    QVBoxLayout* m_texts;
    QVBoxLayout* m_trailing;
};
