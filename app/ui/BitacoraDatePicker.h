#pragma once

#include <functional>

#include <QDate>
#include <QSet>
#include <QToolButton>

class QCalendarWidget;

// A button that opens a calendar of days; the days that hold records stand out, so the user
// can jump straight to them.
class BitacoraDatePicker : public QToolButton {
    Q_OBJECT
public:
    explicit BitacoraDatePicker(QWidget* parent = nullptr);

    // Asked each time the calendar opens, so new records show without a refresh.
    void setMarkedDays(std::function<QSet<QDate>()> provider)
    {
        m_markedDays = std::move(provider);
    }
    void setSelectedDate(const QDate& date) { m_selected = date; }

    void openCalendar();
    // Null while the calendar has never opened.
    QCalendarWidget* calendar() const { return m_calendar; }
    // The days marked the last time the calendar opened.
    const QSet<QDate>& markedDays() const { return m_marked; }

signals:
    void dateChosen(const QDate& date);

private:
    void mark(const QSet<QDate>& days);

    std::function<QSet<QDate>()> m_markedDays;
    QSet<QDate> m_marked;
    QDate m_selected;
    QWidget* m_popup = nullptr;
    QCalendarWidget* m_calendar = nullptr;
};
