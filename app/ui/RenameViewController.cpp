#include "ui/RenameViewController.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QVBoxLayout>

#include "store/DataController.h"
#include "store/Localization.h"

RenameViewController::RenameViewController(DataController& store, QWidget* parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint)
    , m_store(store)
    , m_comboTaskName(new QComboBox(this))
    , m_labelHelp(new QLabel(this))
{
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedWidth(280);
    m_comboTaskName->setEditable(true);
    // A typed name is looked up, never added to the list.
    m_comboTaskName->setInsertPolicy(QComboBox::NoInsert);
    m_comboTaskName->setAccessibleName(Localization::text("CELL_ACTION_RENAME"));
    m_labelHelp->setWordWrap(true);
    m_labelHelp->setTextFormat(Qt::PlainText);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(8);
    layout->addWidget(m_comboTaskName);
    layout->addWidget(m_labelHelp);

    connect(m_comboTaskName, &QComboBox::activated, this,
            [this](int index) { commit(m_comboTaskName->itemText(index)); });
    connect(m_comboTaskName->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { commit(m_comboTaskName->currentText()); });
}

void RenameViewController::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_comboTaskName->setFocus(Qt::PopupFocusReason);
}

void RenameViewController::prepare()
{
    m_comboTaskName->clear();
    m_comboTaskName->addItems(m_store.taskNames().value_or(QStringList{}));
    m_comboTaskName->setCurrentIndex(-1);
    m_comboTaskName->setEditText(QString());
    showHelp(Localization::text("RENAME_HELP"), false);
}

void RenameViewController::showNextTo(QWidget* button)
{
    prepare();
    adjustSize();
    const QRect anchor(button->mapToGlobal(QPoint(0, 0)), button->size());
    QPoint place(anchor.right() + 8, anchor.center().y() - height() / 2);
    // Left of the button when the screen ends on its right.
    if (const QScreen* screen = button->screen()) {
        const QRect area = screen->availableGeometry();
        if (place.x() + width() > area.right())
            place.setX(anchor.left() - 8 - width());
        place.setY(
            std::clamp(place.y(), area.top(), std::max(area.top(), area.bottom() - height())));
    }
    move(place);
    show();
}

bool RenameViewController::commit(const QString& text)
{
    // Return on a listed name both activates it and ends the editing: take it once.
    if (!isVisible())
        return false;
    const QString name = text.trimmed();
    if (name.isEmpty() || !m_taskStartTime)
        return false;
    // The store links only to a catalogued task; any other name would change nothing.
    if (!m_store.existsTaskInfo(name)) {
        showHelp(Localization::text("RENAME_UNKNOWN_TASK").arg(name), true);
        return false;
    }
    const Date start(*m_taskStartTime);
    m_store.updatePomodoroName(name, start);
    // It may have been deleted meanwhile, or share its start with another: then nothing moved.
    bool moved = false;
    for (const Pomodoro& pomodoro : m_store.pomodorosForDate(start).value_or(QList<Pomodoro>{})) {
        if (pomodoro.startTime == *m_taskStartTime && pomodoro.taskInfoName == name)
            moved = true;
    }
    if (!moved) {
        showHelp(Localization::text("RENAME_FAILED"), true);
        return false;
    }
    if (auto* delegate = m_delegate.get())
        delegate->intervalNameChanged(name);
    close();
    return true;
}

void RenameViewController::showHelp(const QString& text, bool warning)
{
    m_labelHelp->setText(text);
    // A longer warning may need another line.
    if (isVisible())
        adjustSize();
    m_labelHelp->setStyleSheet(
        QStringLiteral("color: %1;")
            .arg(warning ? QStringLiteral("#f72020") : QStringLiteral("#999999")));
}

void RenameViewController::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath card;
    card.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
    painter.fillPath(card, Qt::white);
    painter.setPen(QColor(0xdd, 0xdd, 0xdd));
    painter.drawPath(card);
}
