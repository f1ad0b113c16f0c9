#include "ui/BitacoraWindowController.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>

#include "ColorHelpers.h"
#include "NotificationCenter.h"
#include "cloud/CloudNotifications.h"
#include "reports/LogbookLoader.h"
#include "store/DataController.h"
#include "store/Localization.h"
#include "ui/BitacoraDatePicker.h"
#include "ui/DayTitle.h"
#include "ui/EmptyCell.h"
#include "ui/GoalCell.h"
#include "ui/HeaderButton.h"
#include "ui/LogbookCell.h"
#include "ui/MessageBox.h"
#include "ui/RenameViewController.h"
#include "ui/SessionCell.h"
#include "ui/StartCell.h"
#include "ui/SvgPixmap.h"
#include "ui/TaskCell.h"

namespace {

const QKeySequence previousKeys(Qt::ALT | Qt::Key_Left);
const QKeySequence nextKeys(Qt::ALT | Qt::Key_Right);
const QKeySequence todayKeys(Qt::CTRL | Qt::Key_T);
const QKeySequence calendarKeys(Qt::CTRL | Qt::Key_D);
const QKeySequence reportKeys(Qt::CTRL | Qt::Key_R);
const QKeySequence exportKeys(Qt::CTRL | Qt::Key_E);

// The changes from the cloud that can touch a day of the logbook.
const char* const observedNotifications[] = {
    ZestraCloudTaskCreated,    ZestraCloudTaskUpdated, ZestraCloudTaskDeleted,
    ZestraCloudSessionCreated, ZestraCloudGoalCreated,
};

QString tooltip(const char* key, const QKeySequence& keys)
{
    return Localization::text(key).arg(keys.toString(QKeySequence::NativeText));
}

} // namespace

BitacoraWindowController::BitacoraWindowController(DataController& store, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_store(store)
    , m_fecha(Date::now())
    , m_loader(new LogbookLoader(store, this))
    , m_viewHeader(new QWidget(this))
    , m_labelDay(new QLabel(m_viewHeader))
    , m_buttonPreviousDay(
          HeaderButton::make<QToolButton>(m_viewHeader, QStringLiteral("Logbook-Previous")))
    , m_buttonNextDay(HeaderButton::make<QToolButton>(m_viewHeader, QStringLiteral("Logbook-Next")))
    , m_buttonToday(HeaderButton::make<QPushButton>(m_viewHeader, QString()))
    , m_buttonCalendar(
          HeaderButton::make<BitacoraDatePicker>(m_viewHeader, QStringLiteral("Logbook-Calendar")))
    , m_buttonReport(HeaderButton::make<QToolButton>(m_viewHeader, QStringLiteral("Panel-Report")))
    , m_buttonExport(
          HeaderButton::make<QToolButton>(m_viewHeader, QStringLiteral("Logbook-Export")))
    , m_tablePomodoros(new QListWidget(this))
{
    setWindowTitle(Localization::text("BITACORA_WINDOW_TITLE"));
    setMinimumSize(380, 480);
    resize(440, 660);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    m_viewHeader->setObjectName(QStringLiteral("viewHeader"));
    m_viewHeader->setAttribute(Qt::WA_StyledBackground);
    m_viewHeader->setStyleSheet(QStringLiteral("#viewHeader { background-color: #313131; }"));
    m_viewHeader->setFixedHeight(68);
    m_labelDay->setTextFormat(Qt::PlainText);
    m_labelDay->setStyleSheet(QStringLiteral("color: #ffffff;"));
    QFont dayFont = m_labelDay->font();
    if (dayFont.pointSizeF() > 0)
        dayFont.setPointSizeF(dayFont.pointSizeF() + 6);
    dayFont.setWeight(QFont::DemiBold);
    m_labelDay->setFont(dayFont);

    m_buttonToday->setText(Localization::text("BITACORA_LABEL_DAY_TODAY"));
    m_buttonPreviousDay->setToolTip(tooltip("BITACORA_BUTTON_PREVIOUS", previousKeys));
    m_buttonNextDay->setToolTip(tooltip("BITACORA_BUTTON_NEXT", nextKeys));
    m_buttonToday->setToolTip(tooltip("BITACORA_BUTTON_TODAY", todayKeys));
    m_buttonCalendar->setToolTip(tooltip("BITACORA_BUTTON_CALENDAR", calendarKeys));
    m_buttonReport->setToolTip(tooltip("BITACORA_BUTTON_REPORT", reportKeys));
    m_buttonExport->setToolTip(tooltip("BITACORA_BUTTON_EXPORT", exportKeys));
    for (QAbstractButton* button :
         std::initializer_list<QAbstractButton*>{m_buttonPreviousDay, m_buttonNextDay,
                                                 m_buttonCalendar, m_buttonReport, m_buttonExport})
        button->setAccessibleName(button->toolTip());
    m_buttonCalendar->setMarkedDays([this] { return recordedDays(); });

    auto* header = new QHBoxLayout(m_viewHeader);
    header->setContentsMargins(10, 0, 12, 0);
    header->setSpacing(2);
    header->addWidget(m_buttonPreviousDay);
    header->addWidget(m_buttonNextDay);
    header->addSpacing(8);
    header->addWidget(m_labelDay, 1);
    header->addWidget(m_buttonToday);
    header->addWidget(m_buttonCalendar);
    header->addSpacing(10);
    header->addWidget(m_buttonReport);
    header->addWidget(m_buttonExport);

    m_tablePomodoros->setFrameShape(QFrame::NoFrame);
    m_tablePomodoros->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tablePomodoros->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_tablePomodoros->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_tablePomodoros->verticalScrollBar()->setSingleStep(20);
    m_tablePomodoros->setContextMenuPolicy(Qt::CustomContextMenu);
    m_tablePomodoros->setAccessibleName(Localization::text("BITACORA_WINDOW_TITLE"));
    m_tablePomodoros->setStyleSheet(QStringLiteral(
        "QListWidget { background-color: #ffffff; border: none; outline: none; }"
        "QListWidget::item { background: transparent; border: none; }"
        "QListWidget::item:selected { background: transparent; }"
        "QLabel#titleText { color: #313131; }"
        "QLabel#secondaryText { color: #999999; }"
        "QToolButton#TableAction-Edit { background-color: #f0f0f0; border: none;"
        " border-radius: 8px; }"
        "QToolButton#TableAction-Edit:hover { background-color: #dadada; }"
        "QToolButton#TableAction-Delete { background-color: #f72020; border: none;"
        " border-radius: 8px; }"
        "QToolButton#TableAction-Delete:hover { background-color: #d81c1c; }"
        "QScrollBar:vertical { background: #ffffff; width: 10px; margin: 0; }"
        "QScrollBar::handle:vertical { background: #d6d6d6; border-radius: 4px; min-height: 32px;"
        " margin: 2px; }"
        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }"));
    m_tablePomodoros->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_viewHeader);
    layout->addWidget(m_tablePomodoros, 1);

    connect(m_buttonPreviousDay, &QToolButton::clicked, this,
            &BitacoraWindowController::doPreviusDateButtonTap);
    connect(m_buttonNextDay, &QToolButton::clicked, this,
            &BitacoraWindowController::doNextDateButtonTap);
    connect(m_buttonToday, &QPushButton::clicked, this,
            &BitacoraWindowController::handleTodayButtonTap);
    connect(m_buttonReport, &QToolButton::clicked, this,
            &BitacoraWindowController::handleReportButtonClick);
    connect(m_buttonExport, &QToolButton::clicked, this,
            &BitacoraWindowController::handleExportButtonClick);
    connect(m_buttonCalendar, &BitacoraDatePicker::dateChosen, this,
            [this](const QDate& date) { showDay(Date::fromDateTime(date.startOfDay())); });
    connect(m_tablePomodoros, &QListWidget::customContextMenuRequested, this,
            &BitacoraWindowController::showContextMenu);
    connect(m_tablePomodoros, &QListWidget::itemSelectionChanged, this, [this] {
        for (int row = 0; row < m_tablePomodoros->count(); ++row) {
            QListWidgetItem* item = m_tablePomodoros->item(row);
            if (auto* cell = qobject_cast<LogbookCell*>(m_tablePomodoros->itemWidget(item)))
                cell->setSelected(item->isSelected());
        }
    });
    connect(m_loader, &LogbookLoader::loaded, this, &BitacoraWindowController::install);
    installShortcuts();

    for (const char* name : observedNotifications)
        NotificationCenter::defaultCenter().addObserver(
            QString::fromLatin1(name), this,
            [this](const QVariantMap& userInfo) { receivedNotification(userInfo); });

    m_buttonReport->setEnabled(false);
    m_buttonExport->setEnabled(false);
    refreshDayLabel();
}

BitacoraWindowController::~BitacoraWindowController() = default;

void BitacoraWindowController::installShortcuts()
{
    const auto bind = [this](const QKeySequence& keys, QAbstractButton* button) {
        auto* shortcut = new QShortcut(keys, this);
        // Through the button, so a disabled one (next on today) does nothing.
        connect(shortcut, &QShortcut::activated, button, [button] {
            if (button->isEnabled())
                button->click();
        });
    };
    bind(previousKeys, m_buttonPreviousDay);
    bind(nextKeys, m_buttonNextDay);
    bind(todayKeys, m_buttonToday);
    bind(calendarKeys, m_buttonCalendar);
    bind(reportKeys, m_buttonReport);
    bind(exportKeys, m_buttonExport);
}

void BitacoraWindowController::showDay(Date day)
{
    m_fecha = day;
    refreshDayLabel();
    reload();
}

void BitacoraWindowController::reload()
{
    m_loader->reload(m_fecha);
}

void BitacoraWindowController::doPreviusDateButtonTap()
{
    showDay(m_fecha.previous());
}

void BitacoraWindowController::doNextDateButtonTap()
{
    showDay(m_fecha.next());
}

void BitacoraWindowController::handleTodayButtonTap()
{
    showDay(Date::now());
}

void BitacoraWindowController::handleReportButtonClick()
{
    emit reportRequested(m_fecha);
}

void BitacoraWindowController::refreshDayLabel()
{
    m_labelDay->setText(
        DayTitle::text(m_fecha, "BITACORA_LABEL_DAY_TODAY", "BITACORA_LABEL_DAY_YESTERDAY"));
    m_buttonNextDay->setEnabled(!m_fecha.isToday());
    m_buttonCalendar->setSelectedDate(m_fecha.toDateTime().date());
}

void BitacoraWindowController::install(Date day, const LogbookDay& logbook)
{
    // A day left since the reload began is not shown over the one now chosen.
    if (day != m_fecha)
        return;
    m_cells = logbook.rows();
    m_buttonReport->setEnabled(logbook.hasPomodoros());
    m_buttonExport->setEnabled(logbook.hasPomodoros());

    m_tablePomodoros->setUpdatesEnabled(false);
    m_tablePomodoros->clear();
    for (const LogbookRow& row : m_cells) {
        auto* item = new QListWidgetItem(m_tablePomodoros);
        item->setSizeHint(QSize(0, row.height));
        item->setFlags(row.kind == LogbookRow::Kind::Task ? Qt::ItemIsEnabled | Qt::ItemIsSelectable
                                                          : Qt::ItemIsEnabled);
        m_tablePomodoros->setItemWidget(item, makeCell(row));
    }
    m_tablePomodoros->setUpdatesEnabled(true);
    emit rowsInstalled();
}

QWidget* BitacoraWindowController::makeCell(const LogbookRow& row)
{
    switch (row.kind) {
    case LogbookRow::Kind::Task: {
        auto* cell = new TaskCell;
        cell->configure(row);
        cell->onRename = [this](TaskCell* from, QWidget* button) { openRename(from, button); };
        // Queued: the delete reloads the rows, this cell among them.
        cell->onDelete = [this](double start) {
            QMetaObject::invokeMethod(
                this, [this, start] { deleteRow(start); }, Qt::QueuedConnection);
        };
        // The running totals of both tasks changed.
        cell->onRenamed = [this] { reload(); };
        return cell;
    }
    case LogbookRow::Kind::Session: {
        auto* cell = new SessionCell;
        cell->configure(row);
        return cell;
    }
    case LogbookRow::Kind::Goal: {
        auto* cell = new GoalCell;
        cell->configure(row);
        return cell;
    }
    case LogbookRow::Kind::Start: {
        auto* cell = new StartCell;
        cell->configure(row);
        return cell;
    }
    case LogbookRow::Kind::Empty:
        break;
    }
    return new EmptyCell;
}

void BitacoraWindowController::deleteRow(double taskStartTime)
{
    m_store.deletePomodoro(Date(taskStartTime));
    reload();
}

void BitacoraWindowController::openRename(TaskCell* cell, QWidget* button)
{
    if (!m_rename)
        m_rename = new RenameViewController(m_store, this);
    m_rename->setTaskStartTime(cell->taskStartTime());
    m_rename->setDelegate(cell);
    m_rename->showNextTo(button);
}

void BitacoraWindowController::handleExportButtonClick()
{
    auto* dialog = new QFileDialog(this, Localization::text("EXPORT_CSV_SAVE_TITLE"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setLabelText(QFileDialog::Accept, Localization::text("EXPORT_CSV_SAVE_PROMPT"));
    dialog->setWindowModality(Qt::WindowModal);
    connect(dialog, &QFileDialog::fileSelected, this,
            [this](const QString& path) { exportTo(path); });
    dialog->open();
}

bool BitacoraWindowController::exportTo(const QString& path)
{
    if (path.isEmpty())
        return false;
    if (m_store.exportToCSV(path, m_fecha))
        return true;
    MessageBox::critical(this, {Localization::text("EXPORT_CSV_SAVE_ERROR_TITLE"),
                                Localization::text("EXPORT_CSV_SAVE_ERROR_MESSAGE"),
                                Localization::text("EXPORT_CSV_SAVE_ERROR_BUTTON")});
    return false;
}

void BitacoraWindowController::receivedNotification(const QVariantMap& userInfo)
{
    const auto found = userInfo.constFind(QString::fromLatin1(CloudNotifications::dateKey));
    if (found == userInfo.constEnd())
        return;
    bool isMoment = false;
    const double moment = found->toDouble(&isMoment);
    if (!isMoment)
        return;
    const Date date(moment);
    if (date > m_fecha.beginningOfDay() && date < m_fecha.endOfDay())
        reload();
}

QSet<QDate> BitacoraWindowController::recordedDays()
{
    QSet<QDate> days;
    for (const Date& start : m_store.dates().value_or(QList<Date>{}))
        days.insert(start.toDateTime().date());
    return days;
}

std::unique_ptr<QMenu> BitacoraWindowController::contextMenu(int row)
{
    if (row < 0 || row >= m_cells.size() || m_cells.at(row).kind != LogbookRow::Kind::Task)
        return nullptr;
    auto* cell = qobject_cast<TaskCell*>(m_tablePomodoros->itemWidget(m_tablePomodoros->item(row)));
    auto menu = std::make_unique<QMenu>(this);
    QAction* rename =
        menu->addAction(SvgPixmap::tintedIcon(QStringLiteral("TableAction-Edit"), QSize(16, 16),
                                              ColorHelpers::color(QStringLiteral("#313131"))),
                        Localization::text("CELL_ACTION_RENAME"));
    connect(rename, &QAction::triggered, this, [this, cell] {
        if (cell)
            openRename(cell, cell->buttonRename());
    });
    QAction* remove =
        menu->addAction(SvgPixmap::tintedIcon(QStringLiteral("TableAction-Delete"), QSize(16, 16),
                                              ColorHelpers::color(QStringLiteral("#f72020"))),
                        Localization::text("CELL_ACTION_DELETE"));
    const double start = *m_cells.at(row).order;
    connect(remove, &QAction::triggered, this, [this, start] { deleteRow(start); });
    return menu;
}

void BitacoraWindowController::showContextMenu(const QPoint& position)
{
    QListWidgetItem* item = m_tablePomodoros->itemAt(position);
    if (!item)
        return;
    if (auto menu = contextMenu(m_tablePomodoros->row(item)))
        menu->exec(m_tablePomodoros->viewport()->mapToGlobal(position));
}

void BitacoraWindowController::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    reload();
}

bool BitacoraWindowController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_tablePomodoros && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const int row = m_tablePomodoros->currentRow();
        const bool selected =
            m_tablePomodoros->currentItem() && m_tablePomodoros->currentItem()->isSelected();
        if ((key->key() == Qt::Key_Delete || key->key() == Qt::Key_Backspace) && selected &&
            row >= 0 && row < m_cells.size() && m_cells.at(row).kind == LogbookRow::Kind::Task) {
            deleteRow(*m_cells.at(row).order);
            return true;
        }
        if (key->key() == Qt::Key_Menu ||
            (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier)) {
            if (QListWidgetItem* item = m_tablePomodoros->currentItem())
                showContextMenu(m_tablePomodoros->visualItemRect(item).center());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
