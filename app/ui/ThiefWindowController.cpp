#include "ui/ThiefWindowController.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>

#include "store/Localization.h"
#include "ui/ApplicationChooserWindowController.h"
#include "ui/DayTitle.h"
#include "ui/HeaderButton.h"
#include "ui/ThiefCreatorWindowController.h"
#include "ui/ThiefHeaderViewController.h"
#include "ui/ThiefTableViewController.h"

namespace {

const QString segmentStyle = QStringLiteral(
    "QPushButton { border: 1px solid #5a5a5a; background: transparent; color: #cccccc;"
    " padding: 4px 12px; }"
    "QPushButton:checked { background-color: #5a5a5a; color: white; }"
    "QPushButton:hover:!checked { background-color: #474747; }"
    "QPushButton:focus { border-color: #59b6e8; }"
    "QPushButton#showThieves { border-top-left-radius: 8px; border-bottom-left-radius: 8px; }"
    "QPushButton#showAll { border-top-right-radius: 8px; border-bottom-right-radius: 8px;"
    " border-left: none; }");

const QString comboStyle =
    QStringLiteral("QComboBox { border: 1px solid #5a5a5a; border-radius: 8px; color: white;"
                   " background: transparent; padding: 4px 10px; }"
                   "QComboBox:hover { background-color: #474747; }"
                   "QComboBox:focus { border-color: #59b6e8; }"
                   "QComboBox::drop-down { border: none; width: 14px; }");

QPushButton* segment(QWidget* parent, const char* name, const char* key)
{
    auto* button = new QPushButton(Localization::text(key), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setCheckable(true);
    button->setCursor(Qt::PointingHandCursor);
    button->setStyleSheet(segmentStyle);
    return button;
}

} // namespace

ThiefWindowController::ThiefWindowController(
    DataController& store, std::function<QList<DesktopEntry>()> installedApplications,
    QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_store(store)
    , m_installedApplications(std::move(installedApplications))
    , m_fecha(Date::now())
    , m_viewHeader(new QWidget(this))
    , m_labelDay(new QLabel(m_viewHeader))
    , m_buttonPreviousDay(
          HeaderButton::make<QToolButton>(m_viewHeader, QStringLiteral("Logbook-Previous")))
    , m_buttonNextDay(HeaderButton::make<QToolButton>(m_viewHeader, QStringLiteral("Logbook-Next")))
    , m_buttonToday(HeaderButton::make<QPushButton>(m_viewHeader, QString()))
    , m_buttonShowThieves(segment(m_viewHeader, "showThieves", "THIEF_SHOW_THIEVES"))
    , m_buttonShowAll(segment(m_viewHeader, "showAll", "THIEF_SHOW_ALL"))
    , m_sortControl(new QComboBox(m_viewHeader))
    , m_buttonAdd(HeaderButton::make<QToolButton>(m_viewHeader, QStringLiteral("Tasks-Add")))
    , m_menuAdd(new QMenu(Localization::text("THIEF_POPUP_TITLE"), this))
    , m_buttonRefresh(
          HeaderButton::make<QToolButton>(m_viewHeader, QStringLiteral("Thief-Refresh")))
    , m_buttonReport(HeaderButton::make<QToolButton>(m_viewHeader, QStringLiteral("Panel-Report")))
    , m_buttonSettings(
          HeaderButton::make<QToolButton>(m_viewHeader, QStringLiteral("Panel-Settings")))
    , m_header(new ThiefHeaderViewController(this))
    , m_table(new ThiefTableViewController(store, this))
{
    setObjectName(QStringLiteral("ThiefWindow"));
    setWindowTitle(Localization::text("THIEF_WINDOW_TITLE"));
    setMinimumSize(640, 420);
    resize(820, 560);

    m_viewHeader->setObjectName(QStringLiteral("viewHeader"));
    m_viewHeader->setAttribute(Qt::WA_StyledBackground);
    m_viewHeader->setStyleSheet(QStringLiteral("#viewHeader { background-color: #313131; }"));
    m_viewHeader->setFixedHeight(60);
    m_labelDay->setTextFormat(Qt::PlainText);
    m_labelDay->setStyleSheet(QStringLiteral("color: #ffffff;"));
    QFont dayFont = m_labelDay->font();
    if (dayFont.pointSizeF() > 0)
        dayFont.setPointSizeF(dayFont.pointSizeF() + 5);
    dayFont.setWeight(QFont::DemiBold);
    m_labelDay->setFont(dayFont);
    m_labelDay->setMinimumWidth(90);

    m_buttonToday->setText(Localization::text("THIEF_LABEL_DAY_TODAY"));
    m_buttonPreviousDay->setToolTip(Localization::text("THIEF_BUTTON_PREVIOUS"));
    m_buttonNextDay->setToolTip(Localization::text("THIEF_BUTTON_NEXT"));
    m_buttonToday->setToolTip(Localization::text("THIEF_BUTTON_TODAY"));
    m_buttonAdd->setToolTip(Localization::text("THIEF_POPUP_TITLE"));
    m_buttonRefresh->setToolTip(Localization::text("THIEF_BUTTON_REFRESH"));
    m_buttonReport->setToolTip(Localization::text("THIEF_BUTTON_REPORT"));
    m_buttonSettings->setToolTip(Localization::text("THIEF_BUTTON_SETTINGS"));
    for (QAbstractButton* button :
         std::initializer_list<QAbstractButton*>{m_buttonPreviousDay, m_buttonNextDay, m_buttonAdd,
                                                 m_buttonRefresh, m_buttonReport, m_buttonSettings})
        button->setAccessibleName(button->toolTip());

    auto* show = new QButtonGroup(this);
    show->addButton(m_buttonShowThieves);
    show->addButton(m_buttonShowAll);
    m_buttonShowThieves->setChecked(true);
    m_buttonShowThieves->setToolTip(Localization::text("THIEF_SHOW_TITLE"));
    m_buttonShowAll->setToolTip(Localization::text("THIEF_SHOW_TITLE"));

    m_sortControl->addItem(Localization::text("THIEF_SORT_BY_NAME"));
    m_sortControl->addItem(Localization::text("THIEF_SORT_BY_TIME"));
    m_sortControl->setToolTip(Localization::text("THIEF_SORT_TITLE"));
    m_sortControl->setAccessibleName(m_sortControl->toolTip());
    m_sortControl->setStyleSheet(comboStyle);

    m_menuAdd->addAction(Localization::text("THIEF_POPUP_ITEM_ADD_APP"), this,
                         [this] { openApplicationCreator(); });
    m_menuAdd->addAction(Localization::text("THIEF_POPUP_ITEM_ADD_WEB"), this,
                         [this] { openWebsiteCreator(); });
    connect(m_buttonAdd, &QToolButton::clicked, this, [this] {
        m_menuAdd->popup(m_buttonAdd->mapToGlobal(QPoint(0, m_buttonAdd->height())));
    });

    auto* header = new QHBoxLayout(m_viewHeader);
    header->setContentsMargins(10, 0, 12, 0);
    header->setSpacing(2);
    header->addWidget(m_buttonPreviousDay);
    header->addWidget(m_buttonNextDay);
    header->addSpacing(8);
    header->addWidget(m_labelDay, 1);
    header->addWidget(m_buttonToday);
    header->addSpacing(12);
    header->addWidget(m_buttonShowThieves);
    header->addWidget(m_buttonShowAll);
    header->addSpacing(8);
    header->addWidget(m_sortControl);
    header->addSpacing(12);
    header->addWidget(m_buttonAdd);
    header->addWidget(m_buttonRefresh);
    header->addWidget(m_buttonReport);
    header->addWidget(m_buttonSettings);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_viewHeader);
    layout->addWidget(m_header);
    layout->addWidget(m_table, 1);

    connect(m_buttonPreviousDay, &QToolButton::clicked, this,
            &ThiefWindowController::doPreviusDateButtonTap);
    connect(m_buttonNextDay, &QToolButton::clicked, this,
            &ThiefWindowController::doNextDateButtonTap);
    connect(m_buttonToday, &QPushButton::clicked, this,
            &ThiefWindowController::handleTodayButtonTap);
    connect(m_buttonShowThieves, &QPushButton::toggled, this,
            [this](bool on) { setListingMode(on ? ThiefListing::thiefs : ThiefListing::all); });
    connect(m_sortControl, &QComboBox::currentIndexChanged, this, [this](int index) {
        setSorting(index == 1 ? ThiefSorting::time : ThiefSorting::name);
    });
    connect(m_buttonRefresh, &QToolButton::clicked, this,
            &ThiefWindowController::doRefreshButtonTap);
    connect(m_buttonReport, &QToolButton::clicked, this, [this] { emit reportRequested(m_fecha); });
    connect(m_buttonSettings, &QToolButton::clicked, this,
            &ThiefWindowController::settingsRequested);
    connect(m_header, &ThiefHeaderViewController::rangeChanged, this,
            &ThiefWindowController::receivedRange);

    auto shortcut = [this](const QKeySequence& keys, auto slot) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, slot);
    };
    shortcut(QKeySequence(Qt::ALT | Qt::Key_Left), [this] { doPreviusDateButtonTap(); });
    shortcut(QKeySequence(Qt::ALT | Qt::Key_Right), [this] {
        if (m_buttonNextDay->isEnabled())
            doNextDateButtonTap();
    });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_T), [this] { handleTodayButtonTap(); });
    shortcut(QKeySequence::Refresh, [this] { doRefreshButtonTap(); });

    m_table->setHours(m_startHour, m_endHour);
    // The rows are read when the window shows.
    refreshDayLabel();
    m_table->setDate(m_fecha);
}

void ThiefWindowController::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Opened again on another day, or after the scanner recorded more: read it afresh.
    reloadList();
}

void ThiefWindowController::showDay(Date day)
{
    m_fecha = day;
    refreshDayLabel();
    m_table->setDate(day);
    reloadList();
}

void ThiefWindowController::setListingMode(ThiefListing mode)
{
    m_listingMode = mode;
    m_buttonShowThieves->setChecked(mode == ThiefListing::thiefs);
    m_buttonShowAll->setChecked(mode == ThiefListing::all);
    m_header->setListingMode(mode);
    reloadList();
}

void ThiefWindowController::setSorting(ThiefSorting sorting)
{
    m_sorting = sorting;
    m_sortControl->setCurrentIndex(sorting == ThiefSorting::time ? 1 : 0);
    reloadList();
}

void ThiefWindowController::doPreviusDateButtonTap()
{
    showDay(m_fecha.previous());
}

void ThiefWindowController::doNextDateButtonTap()
{
    showDay(m_fecha.next());
}

void ThiefWindowController::handleTodayButtonTap()
{
    showDay(Date::now());
}

void ThiefWindowController::doRefreshButtonTap()
{
    reloadList();
}

void ThiefWindowController::refreshDayLabel()
{
    m_labelDay->setText(
        DayTitle::text(m_fecha, "THIEF_LABEL_DAY_TODAY", "THIEF_LABEL_DAY_YESTERDAY"));
    const bool today = m_fecha.isToday();
    m_buttonNextDay->setEnabled(!today);
    m_buttonToday->setVisible(!today);
}

void ThiefWindowController::reloadList()
{
    m_table->setListingMode(m_listingMode);
    m_table->setSorting(m_sorting);
    m_table->reloadData();
}

void ThiefWindowController::receivedRange(int startHour, int endHour)
{
    m_startHour = startHour;
    m_endHour = endHour;
    m_table->setHours(startHour, endHour);
}

ThiefCreatorWindowController* ThiefWindowController::openWebsiteCreator()
{
    auto* sheet = new ThiefCreatorWindowController(m_store, this);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    connect(sheet, &QDialog::finished, this, [this](int result) {
        if (result == 1)
            reloadList();
    });
    sheet->open();
    return sheet;
}

ApplicationChooserWindowController* ThiefWindowController::openApplicationCreator()
{
    auto* sheet = new ApplicationChooserWindowController(
        m_store, m_installedApplications ? m_installedApplications() : QList<DesktopEntry>(), this);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    connect(sheet, &QDialog::finished, this, [this](int result) {
        if (result == 1)
            reloadList();
    });
    sheet->open();
    return sheet;
}
