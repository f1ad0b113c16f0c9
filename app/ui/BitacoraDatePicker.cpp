#include "ui/BitacoraDatePicker.h"

#include <QCalendarWidget>
#include <QTextCharFormat>
#include <QVBoxLayout>

#include "ColorHelpers.h"

BitacoraDatePicker::BitacoraDatePicker(QWidget* parent)
    : QToolButton(parent)
{
    connect(this, &QToolButton::clicked, this, &BitacoraDatePicker::openCalendar);
}

void BitacoraDatePicker::openCalendar()
{
    if (!m_popup) {
        m_popup = new QWidget(this, Qt::Popup);
        m_calendar = new QCalendarWidget(m_popup);
        m_calendar->setGridVisible(false);
        m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
        m_calendar->setStyleSheet(QStringLiteral(
            "QCalendarWidget QAbstractItemView { selection-background-color: #59b6e8;"
            " selection-color: white; color: #999999; }"));
        // Days without work are quiet, weekends included; days with work stand out (mark()).
        QTextCharFormat quiet;
        quiet.setForeground(ColorHelpers::color(QStringLiteral("#999999")));
        m_calendar->setWeekdayTextFormat(Qt::Saturday, quiet);
        m_calendar->setWeekdayTextFormat(Qt::Sunday, quiet);
        auto* layout = new QVBoxLayout(m_popup);
        layout->setContentsMargins(1, 1, 1, 1);
        layout->addWidget(m_calendar);
        connect(m_calendar, &QCalendarWidget::clicked, this, [this](const QDate& date) {
            m_popup->close();
            emit dateChosen(date);
        });
        connect(m_calendar, &QCalendarWidget::activated, this, [this](const QDate& date) {
            m_popup->close();
            emit dateChosen(date);
        });
    }
    mark(m_markedDays ? m_markedDays() : QSet<QDate>{});
    if (m_selected.isValid())
        m_calendar->setSelectedDate(m_selected);
    m_popup->adjustSize();
    const QPoint below = mapToGlobal(QPoint(width() - m_popup->width(), height() + 4));
    m_popup->move(below);
    m_popup->show();
    m_calendar->setFocus(Qt::PopupFocusReason);
}

void BitacoraDatePicker::mark(const QSet<QDate>& days)
{
    // Every day back to plain first, then the days with records in bold.
    m_calendar->setDateTextFormat(QDate(), QTextCharFormat());
    QTextCharFormat recorded;
    recorded.setFontWeight(QFont::Bold);
    recorded.setForeground(ColorHelpers::color(QStringLiteral("#313131")));
    recorded.setBackground(ColorHelpers::color(QStringLiteral("#e6f3fb")));
    for (const QDate& day : days)
        m_calendar->setDateTextFormat(day, recorded);
    m_marked = days;
}
