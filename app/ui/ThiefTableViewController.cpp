#include "ui/ThiefTableViewController.h"

#include <QMenu>
#include <QVBoxLayout>

#include "store/DataController.h"
#include "store/Localization.h"
#include "thieves/ThiefDictionary.h"
#include "ui/EmptyActivityCell.h"
#include "ui/ThiefCell.h"
#include "ui/ThiefRows.h"

ThiefTableViewController::ThiefTableViewController(DataController& store, QWidget* parent)
    : QScrollArea(parent)
    , m_store(store)
    , m_date(Date::now())
{
    setObjectName(QStringLiteral("ThiefTableViewController"));
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("rows"));
    content->setStyleSheet(QStringLiteral("#rows { background-color: #ffffff; }"));
    m_rows = new QVBoxLayout(content);
    m_rows->setContentsMargins(0, 0, 0, 0);
    m_rows->setSpacing(0);
    m_rows->addStretch(1);
    setWidget(content);
}

void ThiefTableViewController::setHours(int startHour, int endHour)
{
    m_startHour = startHour;
    m_endHour = endHour;
    applyRange();
}

void ThiefTableViewController::reloadData()
{
    m_adapters = ThiefRows::build(m_store, m_date, m_listingMode, m_sorting, Date::now());
    for (QWidget* cell : std::as_const(m_cells))
        delete cell;
    m_cells.clear();
    for (int row = 0; row < m_adapters.size(); ++row) {
        const ActivityCellAdapter& adapter = m_adapters[row];
        QWidget* cell = nullptr;
        if (adapter.kind == ActivityCellAdapter::Kind::empty) {
            cell = new EmptyActivityCell(adapter.title, adapter.tagline);
        } else {
            auto* thiefCell = new ThiefCell(adapter);
            connect(thiefCell, &ThiefCell::actionsRequested, this,
                    [this, row](const QPoint& position) {
                        if (std::unique_ptr<QMenu> menu = contextMenu(row))
                            menu->exec(position);
                    });
            thiefCell->setContextMenuPolicy(Qt::CustomContextMenu);
            connect(thiefCell, &QWidget::customContextMenuRequested, this,
                    [this, row, thiefCell](const QPoint& position) {
                        if (std::unique_ptr<QMenu> menu = contextMenu(row))
                            menu->exec(thiefCell->mapToGlobal(position));
                    });
            cell = thiefCell;
        }
        m_rows->insertWidget(row, cell);
        m_cells.append(cell);
    }
    applyRange();
}

void ThiefTableViewController::applyRange()
{
    // The hours of the shown day, on its own calendar: a day of a clock change still starts
    // the range at the hour the labels say.
    const QDate day = m_date.toDateTime().date();
    const Date from = Date::fromDateTime(day.startOfDay().addSecs(m_startHour * 3600));
    const Date to = m_endHour >= 24
                        ? Date::fromDateTime(day.addDays(1).startOfDay())
                        : Date::fromDateTime(day.startOfDay().addSecs(m_endHour * 3600));
    for (QWidget* cell : std::as_const(m_cells)) {
        if (auto* thiefCell = qobject_cast<ThiefCell*>(cell))
            thiefCell->setRange(from, to);
    }
}

QWidget* ThiefTableViewController::cell(int row) const
{
    return row >= 0 && row < m_cells.size() ? m_cells[row] : nullptr;
}

std::unique_ptr<QMenu> ThiefTableViewController::contextMenu(int row)
{
    if (row < 0 || row >= m_adapters.size())
        return nullptr;
    const ActivityCellAdapter& adapter = m_adapters[row];
    if (adapter.kind == ActivityCellAdapter::Kind::empty || adapter.identifier().isEmpty())
        return nullptr;
    auto menu = std::make_unique<QMenu>(this);
    if (adapter.kind == ActivityCellAdapter::Kind::thief) {
        menu->addAction(Localization::text("THIEF_CELL_ACTION_REMOVE_LIST"), this,
                        [this, row] { removeFromList(row); });
        return menu;
    }
    const std::optional<Thief> thief = m_store.thief(adapter.identifier());
    QAction* add = menu->addAction(Localization::text("THIEF_CELL_ACTION_ADD"), this,
                                   [this, row] { makeThief(row); });
    add->setEnabled(!thief || !thief->isActive);
    menu->addSeparator();
    menu->addAction(Localization::text("THIEF_CELL_ACTION_DELETE"), this,
                    [this, row] { deleteActivities(row); });
    return menu;
}

void ThiefTableViewController::makeThief(int row)
{
    if (row < 0 || row >= m_adapters.size() || m_adapters[row].activities.isEmpty())
        return;
    // A thief switched off before is switched on again rather than added twice.
    const WorkActivity& first = m_adapters[row].activities.first();
    if (const std::optional<QVariantMap> dictionary =
            ThiefDictionary::dictionaryRepresentation(first))
        m_store.addThieve(*dictionary, first.image);
    reloadData();
}

void ThiefTableViewController::deleteActivities(int row)
{
    if (row < 0 || row >= m_adapters.size() || m_adapters[row].activities.isEmpty())
        return;
    m_store.deleteWorkActivitiy(m_adapters[row].identifier(),
                                Date(m_adapters[row].activities.first().startTime));
    reloadData();
}

void ThiefTableViewController::removeFromList(int row)
{
    if (row < 0 || row >= m_adapters.size())
        return;
    m_store.deactivateThief(m_adapters[row].identifier());
    reloadData();
}
