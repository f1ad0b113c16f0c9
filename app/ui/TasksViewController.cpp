#include "ui/TasksViewController.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "ColorHelpers.h"
#include "store/DataController.h"
#include "store/Localization.h"
#include "ui/ButtonKeys.h"
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
    ButtonKeys::install(button);
    button->setStyleSheet(QStringLiteral(
        "QPushButton { border: 2px solid transparent; border-radius: 8px; outline: none;"
        " color: #313131; padding: 4px 6px; background: transparent; }"
        "QPushButton:hover { background-color: #f0f0f0; }"
        "QPushButton:pressed { background-color: #e4e4e4; }"
        "QPushButton:focus { border-color: #59b6e8; }"));
    return button;
}

} // namespace

TasksViewController::TasksViewController(DataController& store, QWidget* parent)
    : QWidget(parent)
    , m_store(store)
    , m_viewSide(new QWidget(this))
    , m_labelTitle(new QLabel(m_viewSide))
    , m_buttonBack(makeHeaderButton(m_viewSide, QStringLiteral("Tasks-Back")))
    , m_buttonNewTask(makeHeaderButton(m_viewSide, QStringLiteral("Tasks-Add")))
    , m_tableTasks(new QListWidget(this))
{
    setFocusPolicy(Qt::ClickFocus);
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, ColorHelpers::color("#ebebeb"));
    setPalette(background);

    TaskScreenHeader::style(m_viewSide, m_labelTitle, "TASKS_TITLE_NEW");

    m_buttonBack->setText(Localization::text("TASKS_BUTTON_BACK"));
    m_buttonBack->setAccessibleName(m_buttonBack->text());
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
    // Focus from the keyboard only, and only while there is a task to choose (reloadRows).
    m_tableTasks->setFocusPolicy(Qt::NoFocus);
    m_tableTasks->setAccessibleName(m_labelTitle->text());
    m_tableTasks->installEventFilter(this);
    m_tableTasks->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_tableTasks->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_tableTasks->verticalScrollBar()->setSingleStep(16);
    m_tableTasks->setContextMenuPolicy(Qt::CustomContextMenu);
    m_tableTasks->setStyleSheet(
        // The rows draw their own focus ring; the list's would lie behind the card.
        QStringLiteral("QListWidget { background-color: #ebebeb; border: none; padding-top: 6px;"
                       " outline: none; }"
                       "QListWidget::item, QListWidget::item:hover, QListWidget::item:selected,"
                       " QListWidget::item:focus { background: transparent; border: none; }"));

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
    connect(m_tableTasks, &QListWidget::currentRowChanged, this,
            &TasksViewController::drawFocusRing);
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
        item->setData(Qt::AccessibleTextRole, spokenText(*adapter));
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
    const bool choosable = m_adapters.task(0) != nullptr;
    m_tableTasks->setFocusPolicy(choosable ? Qt::TabFocus : Qt::NoFocus);
    if (choosable)
        m_tableTasks->setCurrentRow(0);
    drawFocusRing();
}

QString TasksViewController::spokenText(const TaskAdaptable& adapter)
{
    if (adapter.cell() == TaskAdaptable::Cell::emptyTask) {
        const auto& empty = static_cast<const EmptyTaskAdapter&>(adapter);
        return empty.title + QStringLiteral(". ") + empty.tagline;
    }
    const auto& task = static_cast<const TaskTimerAdapter&>(adapter);
    QString text = task.name + QStringLiteral(", ") +
                   Localization::text("CELL_POMODORO_ITERATIONS_TITLE") + QLatin1Char(' ') +
                   QString::number(task.iterations);
    if (const QString time = task.time().trimmed(); !time.isEmpty())
        text += QStringLiteral(", ") + Localization::text("CELL_POMODORO_TIME_TITLE") +
                QLatin1Char(' ') + time;
    return text;
}

void TasksViewController::drawFocusRing()
{
    const bool shown = m_keyboardFocus && m_tableTasks->hasFocus();
    for (int row = 0; row < m_tableTasks->count(); ++row) {
        if (auto* cell =
                qobject_cast<TaskManagerCell*>(m_tableTasks->itemWidget(m_tableTasks->item(row))))
            cell->setFocusRing(shown && row == m_tableTasks->currentRow());
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
    // Ready for the arrows and Return; with nothing to choose, the screen itself holds the
    // focus, so no control is ringed before the keyboard is used.
    m_keyboardFocus = false;
    if (m_tableTasks->focusPolicy() != Qt::NoFocus)
        m_tableTasks->setFocus(Qt::OtherFocusReason);
    else
        setFocus(Qt::OtherFocusReason);
}

bool TasksViewController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_viewSide && event->type() == QEvent::Resize)
        m_labelTitle->setGeometry(m_viewSide->rect());
    if (watched == m_tableTasks)
        return tableEvent(event);
    return QWidget::eventFilter(watched, event);
}

bool TasksViewController::tableEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::FocusIn: {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)
            m_keyboardFocus = true;
        drawFocusRing();
        return false;
    }
    case QEvent::FocusOut:
        drawFocusRing();
        return false;
    case QEvent::KeyPress:
        break;
    default:
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool activation =
        key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Space;
    const bool navigation = key->key() == Qt::Key_Up || key->key() == Qt::Key_Down ||
                            key->key() == Qt::Key_Home || key->key() == Qt::Key_End ||
                            key->key() == Qt::Key_PageUp || key->key() == Qt::Key_PageDown;
    const bool menu = key->key() == Qt::Key_Menu ||
                      (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier);
    if (!activation && !navigation && !menu)
        return false;
    // The first key after the list took the focus by itself shows where it is, and no more.
    if (!m_keyboardFocus) {
        m_keyboardFocus = true;
        drawFocusRing();
        return true;
    }
    const int row = m_tableTasks->currentRow();
    if (activation) {
        chooseRow(row);
        return true;
    }
    if (menu) {
        if (QListWidgetItem* item = m_tableTasks->item(row))
            showContextMenu(m_tableTasks->visualItemRect(item).center());
        return true;
    }
    return false;
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
