#include "ui/TaskCell.h"

#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QPropertyAnimation>
#include <QSizePolicy>
#include <QToolButton>
#include <QVBoxLayout>

#include "ColorHelpers.h"
#include "store/Localization.h"
#include "ui/SvgPixmap.h"

namespace {

// Their look comes from the table's style sheet, which names them by these object names.
QToolButton* makeActionButton(QWidget* parent, const QString& image, const QColor& tint,
                              const char* title)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(image);
    button->setIcon(SvgPixmap::tintedIcon(image, QSize(17, 17), tint));
    button->setIconSize(QSize(17, 17));
    button->setFixedSize(30, 30);
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(Localization::text(title));
    button->setAccessibleName(Localization::text(title));
    return button;
}

} // namespace

TaskCell::TaskCell(QWidget* parent)
    : LogbookCell(ColorHelpers::color(QStringLiteral("#fe2f68")), parent)
    , m_labelTaskName(makeLabel(QString::fromLatin1(titleColor), 2, true))
    , m_labelIterations(makeLabel(QString::fromLatin1(titleColor), 0, true))
    , m_labelTime(makeLabel(QString::fromLatin1(titleColor), 0, true))
    , m_labelClock(makeLabel(QString::fromLatin1(secondaryColor), 0, false))
    , m_buttonRename(makeActionButton(this, QStringLiteral("TableAction-Edit"),
                                      ColorHelpers::color(QString::fromLatin1(titleColor)),
                                      "CELL_ACTION_RENAME"))
    , m_buttonDelete(makeActionButton(this, QStringLiteral("TableAction-Delete"), Qt::white,
                                      "CELL_ACTION_DELETE"))
{
    // A long name ends where the row does instead of widening the window.
    m_labelTaskName->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_labelTaskName->setMinimumWidth(40);

    auto* titleIterations = makeLabel(QString::fromLatin1(secondaryColor), 0, false);
    titleIterations->setText(Localization::text("CELL_POMODORO_ITERATIONS_TITLE"));
    auto* titleTime = makeLabel(QString::fromLatin1(secondaryColor), 0, false);
    titleTime->setText(Localization::text("CELL_POMODORO_TIME_TITLE"));
    auto* values = new QHBoxLayout;
    values->setSpacing(5);
    values->addWidget(titleIterations);
    values->addWidget(m_labelIterations);
    values->addSpacing(14);
    values->addWidget(titleTime);
    values->addWidget(m_labelTime);
    values->addStretch(1);
    texts()->insertWidget(1, m_labelTaskName);
    texts()->insertLayout(2, values);
    texts()->addStretch(1);

    auto* actions = new QHBoxLayout;
    actions->setSpacing(6);
    actions->addWidget(m_buttonRename);
    actions->addWidget(m_buttonDelete);
    trailing()->insertWidget(1, m_labelClock, 0, Qt::AlignRight);
    trailing()->insertLayout(2, actions);
    trailing()->addStretch(1);

    // Both buttons keep their places while hidden, so nothing moves on hover. The fades are
    // made on first use: a day has dozens of rows, and an effect costs at every paint.
    for (QToolButton* button : {m_buttonRename, m_buttonDelete}) {
        QSizePolicy keep = button->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        button->setSizePolicy(keep);
        button->setVisible(false);
    }

    connect(m_buttonRename, &QToolButton::clicked, this, [this] {
        if (onRename)
            onRename(this, m_buttonRename);
    });
    connect(m_buttonDelete, &QToolButton::clicked, this, [this] {
        if (onDelete)
            onDelete(m_taskStartTime);
    });
}

void TaskCell::configure(const LogbookRow& row)
{
    m_taskStartTime = row.order.value_or(0);
    m_labelTaskName->setText(row.taskName);
    m_labelTaskName->setToolTip(row.taskName);
    m_labelIterations->setText(QString::number(row.iterations));
    m_labelTime->setText(QString::number(row.totalTime / 60) + QStringLiteral(" minutes"));
    m_labelClock->setText(row.order ? shortTime(*row.order) : QString());
}

qreal TaskCell::renameOpacity() const
{
    if (!m_buttonRename->isVisible())
        return 0.0;
    return m_renameOpacity ? m_renameOpacity->opacity() : 1.0;
}

void TaskCell::intervalNameChanged(const QString& newName)
{
    m_labelTaskName->setText(newName);
    m_labelTaskName->setToolTip(newName);
    if (!m_nameFade) {
        auto* opacity = new QGraphicsOpacityEffect(m_labelTaskName);
        m_labelTaskName->setGraphicsEffect(opacity);
        m_nameFade = new QPropertyAnimation(opacity, "opacity", this);
        m_nameFade->setDuration(450);
        m_nameFade->setEasingCurve(QEasingCurve::OutCubic);
        connect(m_nameFade, &QPropertyAnimation::finished, this, [this] {
            if (onRenamed)
                onRenamed();
        });
    }
    m_nameFade->stop();
    m_nameFade->setStartValue(0.0);
    m_nameFade->setEndValue(1.0);
    m_nameFade->start();
}

void TaskCell::fadeActions(bool in)
{
    m_buttonDelete->setVisible(in);
    if (!m_renameOpacity) {
        m_renameOpacity = new QGraphicsOpacityEffect(m_buttonRename);
        m_renameOpacity->setOpacity(0);
        m_buttonRename->setGraphicsEffect(m_renameOpacity);
        m_renameFade = new QPropertyAnimation(m_renameOpacity, "opacity", this);
        m_renameFade->setDuration(350);
    }
    // Shown from the first hover on, faded out rather than hidden after it.
    m_buttonRename->setVisible(true);
    m_renameFade->stop();
    m_renameFade->setStartValue(m_renameOpacity->opacity());
    m_renameFade->setEndValue(in ? 1.0 : 0.0);
    m_renameFade->start();
}

void TaskCell::enterEvent(QEnterEvent* event)
{
    fadeActions(true);
    LogbookCell::enterEvent(event);
}

void TaskCell::leaveEvent(QEvent* event)
{
    fadeActions(false);
    LogbookCell::leaveEvent(event);
}
