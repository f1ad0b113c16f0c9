#pragma once

#include <memory>

#include <QList>
#include <QScrollArea>

#include "store/Date.h"
#include "ui/ActivityCellAdapter.h"
#include "ui/ThiefListing.h"

class DataController;
class QMenu;
class QVBoxLayout;

// The rows of the thief window for the shown day, with their stretches drawn inside the
// timeline's range. It reads the store when told to; it does not watch it.
class ThiefTableViewController : public QScrollArea {
    Q_OBJECT
public:
    explicit ThiefTableViewController(DataController& store, QWidget* parent = nullptr);

    void setDate(Date date) { m_date = date; }
    void setListingMode(ThiefListing mode) { m_listingMode = mode; }
    void setSorting(ThiefSorting sorting) { m_sorting = sorting; }
    // The hours of the shown day that the rows' timelines span.
    void setHours(int startHour, int endHour);
    void reloadData();

    const QList<ActivityCellAdapter>& adapters() const { return m_adapters; }
    QWidget* cell(int row) const;
    // The row's actions; empty for the empty row and for an application without identifier.
    std::unique_ptr<QMenu> contextMenu(int row);

    // An activity row becomes a thief (or its switched-off thief is switched on again).
    void makeThief(int row);
    // The identifier's activities of the shown day are deleted.
    void deleteActivities(int row);
    // A thief row's thief is no longer watched.
    void removeFromList(int row);

private:
    void applyRange();

    DataController& m_store;
    Date m_date;
    ThiefListing m_listingMode = ThiefListing::thiefs;
    ThiefSorting m_sorting = ThiefSorting::name;
    int m_startHour = 9;
    int m_endHour = 15;
    QList<ActivityCellAdapter> m_adapters;
    QList<QWidget*> m_cells;
    QVBoxLayout* m_rows;
};
