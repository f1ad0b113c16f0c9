#pragma once

#include <functional>

#include <QList>
#include <QWidget>

#include "store/Date.h"
#include "thieves/DesktopEntry.h"
#include "ui/ThiefListing.h"

class ApplicationChooserWindowController;
class DataController;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QToolButton;
class ThiefCreatorWindowController;
class ThiefHeaderViewController;
class ThiefTableViewController;

// Where the user's attention went on one day: the thieves (or every recorded activity), each
// with its stretches on a six-hour timeline.
class ThiefWindowController : public QWidget {
    Q_OBJECT
public:
    // `installedApplications` lists what the application creator offers (read when it opens).
    ThiefWindowController(DataController& store,
                          std::function<QList<DesktopEntry>()> installedApplications,
                          QWidget* parent = nullptr);

    Date fecha() const { return m_fecha; }
    ThiefListing listingMode() const { return m_listingMode; }
    void showDay(Date day);
    void setListingMode(ThiefListing mode);
    void setSorting(ThiefSorting sorting);

    void doPreviusDateButtonTap();
    void doNextDateButtonTap();
    void handleTodayButtonTap();
    void doRefreshButtonTap();
    // The creators open as window-modal sheets and reload the list when they saved.
    ThiefCreatorWindowController* openWebsiteCreator();
    ApplicationChooserWindowController* openApplicationCreator();

    ThiefHeaderViewController* header() const { return m_header; }
    ThiefTableViewController* table() const { return m_table; }
    QLabel* labelDay() const { return m_labelDay; }
    QToolButton* buttonPreviousDay() const { return m_buttonPreviousDay; }
    QToolButton* buttonNextDay() const { return m_buttonNextDay; }
    QPushButton* buttonToday() const { return m_buttonToday; }
    QPushButton* buttonShowThieves() const { return m_buttonShowThieves; }
    QPushButton* buttonShowAll() const { return m_buttonShowAll; }
    QComboBox* sortControl() const { return m_sortControl; }
    QToolButton* buttonAdd() const { return m_buttonAdd; }
    QMenu* menuAdd() const { return m_menuAdd; }
    QToolButton* buttonRefresh() const { return m_buttonRefresh; }
    QToolButton* buttonReport() const { return m_buttonReport; }
    QToolButton* buttonSettings() const { return m_buttonSettings; }

signals:
    void reportRequested(Date day);
    void settingsRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void refreshDayLabel();
    void reloadList();
    void receivedRange(int startHour, int endHour);

    DataController& m_store;
    std::function<QList<DesktopEntry>()> m_installedApplications;
    Date m_fecha;
    ThiefListing m_listingMode = ThiefListing::thiefs;
    ThiefSorting m_sorting = ThiefSorting::name;
    int m_startHour = 9;
    int m_endHour = 15;

    QWidget* m_viewHeader;
    QLabel* m_labelDay;
    QToolButton* m_buttonPreviousDay;
    QToolButton* m_buttonNextDay;
    QPushButton* m_buttonToday;
    QPushButton* m_buttonShowThieves;
    QPushButton* m_buttonShowAll;
    QComboBox* m_sortControl;
    QToolButton* m_buttonAdd;
    QMenu* m_menuAdd;
    QToolButton* m_buttonRefresh;
    QToolButton* m_buttonReport;
    QToolButton* m_buttonSettings;
    ThiefHeaderViewController* m_header;
    ThiefTableViewController* m_table;
};
