#pragma once

#include <memory>

#include <QList>
#include <QSet>
#include <QVariantMap>
#include <QWidget>

#include "reports/LogbookDay.h"
#include "reports/LogbookRow.h"
#include "store/Date.h"

class BitacoraDatePicker;
class DataController;
class LogbookLoader;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QToolButton;
class RenameViewController;
class TaskCell;

// The logbook: what was done on one day, newest first, with the day's start last. The user
// moves between days, deletes or re-assigns a task interval, exports the day as CSV and asks
// for its report.
class BitacoraWindowController : public QWidget {
    Q_OBJECT
public:
    explicit BitacoraWindowController(DataController& store, QWidget* parent = nullptr);
    ~BitacoraWindowController() override;

    Date fecha() const { return m_fecha; }
    // Shows the day holding that instant.
    void showDay(Date day);
    // Reads the day again, off the main thread; the rows change when it is read.
    void reload();

    void doPreviusDateButtonTap();
    void doNextDateButtonTap();
    void handleTodayButtonTap();
    void handleReportButtonClick();
    void handleExportButtonClick();
    // Writes the day's CSV there; a failure is told in an alert.
    bool exportTo(const QString& path);
    // A cloud change: reloads when its "date" lies inside the day shown.
    void receivedNotification(const QVariantMap& userInfo);
    // Deletes the task interval that started then, without asking.
    void deleteRow(double taskStartTime);

    // The rows shown, in display order.
    const QList<LogbookRow>& cells() const { return m_cells; }
    // The row's actions as a menu; none for a row that is not a task interval.
    std::unique_ptr<QMenu> contextMenu(int row);
    // The days that hold records, as the date picker marks them.
    QSet<QDate> recordedDays();

    QWidget* viewHeader() const { return m_viewHeader; }
    QLabel* labelDay() const { return m_labelDay; }
    QListWidget* tablePomodoros() const { return m_tablePomodoros; }
    QToolButton* buttonPreviousDay() const { return m_buttonPreviousDay; }
    QToolButton* buttonNextDay() const { return m_buttonNextDay; }
    QPushButton* buttonToday() const { return m_buttonToday; }
    BitacoraDatePicker* buttonCalendar() const { return m_buttonCalendar; }
    QToolButton* buttonReport() const { return m_buttonReport; }
    QToolButton* buttonExport() const { return m_buttonExport; }
    LogbookLoader* loader() const { return m_loader; }
    // Null until a rename button was clicked.
    RenameViewController* renamePopover() const { return m_rename; }

signals:
    void reportRequested(Date day);
    // The rows of a reload are in the table.
    void rowsInstalled();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refreshDayLabel();
    void install(Date day, const LogbookDay& logbook);
    QWidget* makeCell(const LogbookRow& row);
    void openRename(TaskCell* cell, QWidget* button);
    void showContextMenu(const QPoint& position);
    void installShortcuts();

    DataController& m_store;
    Date m_fecha;
    QList<LogbookRow> m_cells;
    LogbookLoader* m_loader;
    RenameViewController* m_rename = nullptr;

    QWidget* m_viewHeader;
    QLabel* m_labelDay;
    QToolButton* m_buttonPreviousDay;
    QToolButton* m_buttonNextDay;
    QPushButton* m_buttonToday;
    BitacoraDatePicker* m_buttonCalendar;
    QToolButton* m_buttonReport;
    QToolButton* m_buttonExport;
    QListWidget* m_tablePomodoros;
};
