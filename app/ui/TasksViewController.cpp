#include "ui/TasksViewController.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "ColorHelpers.h"
#include "store/DataController.h"
#include "store/Localization.h"
#include "ui/EmptyTaskAdapter.h"
#include "ui/EmptyTaskCell.h"
#include "ui/SvgPixmap.h"
#include "ui/TaskManagerCell.h"
#include "ui/TaskScreenHeader.h"
#include "ui/TaskTimerAdapter.h"

namespace {

QPushButton* makeHeaderButton(QWidget* parent, const QString& image)
{
    auto* button = new QPushButton(parent);
    button->setIcon(SvgPixmap::tintedIcon(image, QSize(18, 18), ColorHelpers::color("#313131")));
    button->setIconSize(QSize(18, 18));
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::TabFocus);
    button->setStyleSheet(
        QStringLiteral("QPushButton { border: none; border-radius: 8px; color: #313131;"
                       " padding: 6px 8px; background: transparent; }"
                       "QPushButton:hover { background-color: #f0f0f0; }"
                       "QPushButton:pressed { background-color: #e4e4e4; }"));
    return button;
}

} // namespace

TasksViewController::TasksViewController(DataController& store, QWidget* parent)
    : QWidget(parent)
    , m_store(store)
    , m_viewSide(new QWidget(this))
    , m_labelTitle(new QLabel(m_viewSide))
    , m_buttonNewTask(makeHeaderButton(m_viewSide, QStringLiteral("Tasks-Add")))
    , m_buttonBack(makeHeaderButton(m_viewSide, QStringLiteral("Tasks-Back")))
    , m_tableTasks(new QListWidget(this))
{
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, ColorHelpers::color("#ebebeb"));
    setPalette(background);

    TaskScreenHeader::style(m_viewSide, m_labelTitle, "TASKS_TITLE_NEW");

    m_buttonBack->setText(Localization::text("TASKS_BUTTON_BACK"));
    m_buttonNewTask->setToolTip(Localization::text("TASKS_BUTTON_NEW"));
    m_buttonNewTask->setAccessibleName(Localization::text("TASKS_BUTTON_NEW"));
    m_buttonNewTask->setFixedSize(34, 34);

    // The title is centred on the whole header, whatever the widths of the buttons.
    auto* header = new QHBoxLayout(m_viewSide);
    header->setContentsMargins(8, 0, 10, 0);
    header->addWidget(m_buttonBack);
    header->addStretch(1);
    header->addWidget(m_buttonNewTask);
    m_viewSide->installEventFilter(this);

    m_tableTasks->setFrameShape(QFrame::NoFrame);
    m_tableTasks->setSelectionMode(QAbstractItemView::NoSelection);
    m_tableTasks->setFocusPolicy(Qt::NoFocus);
    m_tableTasks->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_tableTasks->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_tableTasks->verticalScrollBar()->setSingleStep(16);
    m_tableTasks->setContextMenuPolicy(Qt::CustomContextMenu);
    m_tableTasks->setStyleSheet(
        QStringLiteral("QListWidget { background-color: #ebebeb; border: none; padding-top: 6px; }"
                       "QListWidget::item, QListWidget::item:hover, QListWidget::item:selected"
                       " { background: transparent; border: none; }"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_viewSide);
    layout->addWidget(m_tableTasks, 1);

    connect(m_buttonNewTask, &QPushButton::clicked, this,
            &TasksViewController::handleCreateButtonClick);
    connect(m_buttonBack, &QPushButton::clicked, this, &TasksViewController::handleBackButtonClick);
    connect(m_tableTasks, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { chooseRow(m_tableTasks->row(item)); });
    connect(m_tableTasks, &QListWidget::customContextMenuRequested, this,
            &TasksViewController::showContextMenu);
}

void TasksViewController::reloadRows()
{
    m_adapters.reload(m_store, this);
    m_tableTasks->clear();
    for (int row = 0; row < m_adapters.count(); ++row) {
        const TaskAdaptable* adapter = m_adapters.adapter(row);
        auto* item = new QListWidgetItem(m_tableTasks);
        item->setSizeHint(QSize(0, adapter->height()));
        // Only a task can be chosen.
        item->setFlags(adapter->isSelectable() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable
                                               : Qt::ItemIsEnabled);
        if (const TaskTimerAdapter* task = m_adapters.task(row)) {
            auto* cell = new TaskManagerCell;
            cell->configure(*task);
            // Queued: the action may rebuild the rows, and with them this very cell.
            cell->onAction = [this, name = task->name](TaskRowAction::Kind action) {
                QMetaObject::invokeMethod(
                    this, [this, name, action] { perform(name, action); }, Qt::QueuedConnection);
            };
            m_tableTasks->setItemWidget(item, cell);
        } else {
            auto* cell = new EmptyTaskCell;
            cell->configure(static_cast<const EmptyTaskAdapter&>(*adapter));
            m_tableTasks->setItemWidget(item, cell);
        }
    }
}

void TasksViewController::chooseRow(int row)
{
    const TaskTimerAdapter* task = m_adapters.task(row);
    if (!task || !task->isSelectable())
        return;
    const QString name = task->name;
    if (auto* delegate = m_delegate.get())
        delegate->taskChosen(name);
    if (auto* transition = m_transitionDelegate.get())
        transition->showActivity();
}

std::unique_ptr<QMenu> TasksViewController::contextMenu(int row)
{
    const TaskTimerAdapter* task = m_adapters.task(row);
    const QList<TaskRowAction> actions = m_adapters.actions(row);
    if (!task || actions.isEmpty())
        return nullptr;
    auto menu = std::make_unique<QMenu>(this);
    // Edit reads first in a menu; the row's buttons put delete on the outer edge.
    for (auto it = actions.crbegin(); it != actions.crend(); ++it) {
        QAction* action = menu->addAction(
            SvgPixmap::tintedIcon(it->image, QSize(16, 16), ColorHelpers::color(it->background)),
            Localization::text(it->title));
        connect(action, &QAction::triggered, this,
                [this, name = task->name, kind = it->kind] { perform(name, kind); });
    }
    return menu;
}

void TasksViewController::editTask(const QString& name)
{
    if (auto* transition = m_transitionDelegate.get())
        transition->showTaskCreator(name);
}

void TasksViewController::deleteTask(const QString& named)
{
    // A copy: the name may belong to a row that the reload below discards.
    const QString name = named;
    m_store.deleteTaskInfo(name);
    reloadRows();
    if (auto* delegate = m_delegate.get())
        delegate->taskDeleted(name);
}

void TasksViewController::taskAdded()
{
    reloadRows();
}

void TasksViewController::taskUpdated(const QString& oldName, const QString& newName)
{
    if (oldName != newName) {
        if (auto* delegate = m_delegate.get())
            delegate->taskNameChanged(oldName, newName);
    }
    reloadRows();
}

void TasksViewController::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    reloadRows();
}

bool TasksViewController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_viewSide && event->type() == QEvent::Resize)
        m_labelTitle->setGeometry(m_viewSide->rect());
    return QWidget::eventFilter(watched, event);
}

void TasksViewController::handleCreateButtonClick()
{
    if (auto* transition = m_transitionDelegate.get())
        transition->showTaskCreator();
}

void TasksViewController::handleBackButtonClick()
{
    if (auto* transition = m_transitionDelegate.get())
        transition->showActivity();
}

void TasksViewController::showContextMenu(const QPoint& position)
{
    QListWidgetItem* item = m_tableTasks->itemAt(position);
    if (!item)
        return;
    if (auto menu = contextMenu(m_tableTasks->row(item)))
        menu->exec(m_tableTasks->viewport()->mapToGlobal(position));
}

void TasksViewController::perform(const QString& name, TaskRowAction::Kind action)
{
    for (int row = 0; row < m_adapters.count(); ++row) {
        if (const TaskTimerAdapter* task = m_adapters.task(row); task && task->name == name) {
            task->perform(action);
            return;
        }
    }
}
