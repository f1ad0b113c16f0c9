#include "ui/TaskManagerCell.h"

#include <QEnterEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>
#include <QVBoxLayout>

#include "ColorHelpers.h"
#include "store/Localization.h"
#include "ui/FocusRing.h"
#include "ui/SvgPixmap.h"
#include "ui/TaskTimerAdapter.h"

namespace {

const QString valueColor = QStringLiteral("#313131");
const QString titleColor = QStringLiteral("#999999");
const QString absent = QStringLiteral("-");

const QColor cardColor(Qt::white);
const QColor hoveredCardColor(0xf7, 0xf7, 0xf7);

// The card inside the row, leaving the list's background as the gap between rows.
constexpr QMargins cardInset(10, 4, 10, 4);

// Keeps its whole text but draws what fits, so a long name ends in an ellipsis.
class ElidingLabel : public QLabel {
public:
    using QLabel::QLabel;

    QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(palette().color(foregroundRole()));
        const QRect area = contentsRect();
        painter.drawText(area, alignment(),
                         fontMetrics().elidedText(text(), Qt::ElideRight, area.width()));
    }
};

// Colours through a style sheet: the list's own style sheet would override a palette.
QLabel* makeLabel(QLabel* label, const QString& color, int pointSizeDelta, bool strong)
{
    label->setStyleSheet(QStringLiteral("color: %1;").arg(color));
    QFont font = label->font();
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() + pointSizeDelta);
    if (strong)
        font.setWeight(QFont::DemiBold);
    label->setFont(font);
    return label;
}

// Lies over the trailing edge of the card, which is hovered while it shows, fading the texts
// under it out.
class ActionsOverlay : public QWidget {
public:
    static constexpr int fade = 28;

    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        QLinearGradient gradient(0, 0, fade, 0);
        QColor clear = hoveredCardColor;
        clear.setAlpha(0);
        gradient.setColorAt(0, clear);
        gradient.setColorAt(1, hoveredCardColor);
        painter.fillRect(QRect(0, 0, fade, height()), gradient);
        painter.fillRect(QRect(fade, 0, width() - fade, height()), hoveredCardColor);
    }
};

} // namespace

TaskManagerCell::TaskManagerCell(QWidget* parent)
    : QWidget(parent)
    , m_viewColor(new QFrame(this))
    , m_labelTaskName(makeLabel(new ElidingLabel(this), valueColor, 1, true))
    , m_labelTitleIterations(makeLabel(new QLabel(this), titleColor, -1, false))
    , m_labelIterations(makeLabel(new QLabel(this), valueColor, -1, true))
    , m_labelTitleTime(makeLabel(new QLabel(this), titleColor, -1, false))
    , m_labelTime(makeLabel(new QLabel(this), valueColor, -1, true))
    , m_actionsView(new ActionsOverlay(this))
{
    setCursor(Qt::PointingHandCursor);
    m_viewColor->setFixedWidth(4);
    m_labelTitleIterations->setText(Localization::text("CELL_POMODORO_ITERATIONS_TITLE"));
    m_labelTitleTime->setText(Localization::text("CELL_POMODORO_TIME_TITLE"));

    auto* values = new QHBoxLayout;
    values->setSpacing(5);
    values->addWidget(m_labelTitleIterations);
    values->addWidget(m_labelIterations);
    values->addSpacing(14);
    values->addWidget(m_labelTitleTime);
    values->addWidget(m_labelTime);
    values->addStretch(1);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(3);
    texts->addStretch(1);
    texts->addWidget(m_labelTaskName);
    texts->addLayout(values);
    texts->addStretch(1);

    auto* actions = new QHBoxLayout(m_actionsView);
    actions->setContentsMargins(ActionsOverlay::fade, 0, 0, 0);
    actions->setSpacing(6);
    m_actionsView->setVisible(false);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(cardInset + QMargins(10, 9, 10, 9));
    row->setSpacing(12);
    row->addWidget(m_viewColor);
    row->addLayout(texts, 1);

    setTaskName(std::nullopt);
    setIterations(std::nullopt);
    setTime(std::nullopt);
    setColor(std::nullopt);
}

void TaskManagerCell::configure(const TaskTimerAdapter& adapter)
{
    setTaskName(adapter.name);
    setIterations(adapter.iterations);
    setTime(adapter.time());
    setColor(adapter.color);
    setActions(adapter.actions());
}

void TaskManagerCell::setTaskName(const std::optional<QString>& taskName)
{
    m_labelTaskName->setText(taskName.value_or(absent));
    m_labelTaskName->setToolTip(taskName.value_or(QString()));
}

void TaskManagerCell::setIterations(const std::optional<int>& iterations)
{
    m_labelIterations->setText(iterations ? QString::number(*iterations) : absent);
}

void TaskManagerCell::setTime(const std::optional<QString>& time)
{
    m_labelTime->setText(time.value_or(absent));
}

void TaskManagerCell::setColor(const std::optional<QString>& color)
{
    m_viewColor->setStyleSheet(
        QStringLiteral("background-color: %1; border-radius: 2px;")
            .arg(ColorHelpers::color(color.value_or(QStringLiteral("#ffffff"))).name()));
}

void TaskManagerCell::setActions(const QList<TaskRowAction>& actions)
{
    qDeleteAll(m_actionButtons);
    m_actionButtons.clear();
    auto* layout = static_cast<QHBoxLayout*>(m_actionsView->layout());
    // The outermost action sits on the trailing edge, so the list is laid out backwards.
    for (auto it = actions.crbegin(); it != actions.crend(); ++it) {
        const TaskRowAction action = *it;
        auto* button = new QToolButton(m_actionsView);
        button->setObjectName(action.image);
        button->setToolTip(Localization::text(action.title));
        button->setAccessibleName(Localization::text(action.title));
        button->setIcon(SvgPixmap::tintedIcon(action.image, QSize(18, 18), Qt::white));
        button->setIconSize(QSize(18, 18));
        button->setFixedSize(32, 32);
        button->setCursor(Qt::PointingHandCursor);
        // The keyboard reaches the actions through the row's menu instead.
        button->setFocusPolicy(Qt::NoFocus);
        button->setStyleSheet(
            QStringLiteral("QToolButton { background-color: %1; border: none; border-radius: 8px; }"
                           "QToolButton:hover { background-color: %2; }")
                .arg(ColorHelpers::color(action.background).name(),
                     ColorHelpers::color(action.background).darker(112).name()));
        connect(button, &QToolButton::clicked, this, [this, kind = action.kind] {
            if (onAction)
                onAction(kind);
        });
        layout->addWidget(button);
        m_actionButtons.append(button);
    }
    setActionsVisible(m_hovered);
}

void TaskManagerCell::setActionsVisible(bool visible)
{
    if (visible && !m_actionButtons.isEmpty()) {
        placeActions();
        m_actionsView->raise();
    }
    m_actionsView->setVisible(visible && !m_actionButtons.isEmpty());
}

void TaskManagerCell::placeActions()
{
    const QRect card = rect().marginsRemoved(cardInset);
    const QSize size = m_actionsView->sizeHint();
    // Inside the card's rounded corners, centred on its height.
    const int right = card.right() - 9;
    m_actionsView->setGeometry(right - size.width() + 1, card.top() + 2, size.width(),
                               card.height() - 4);
}

void TaskManagerCell::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeActions();
}

void TaskManagerCell::enterEvent(QEnterEvent* event)
{
    m_hovered = true;
    setActionsVisible(true);
    update();
    QWidget::enterEvent(event);
}

void TaskManagerCell::leaveEvent(QEvent* event)
{
    m_hovered = false;
    setActionsVisible(false);
    update();
    QWidget::leaveEvent(event);
}

void TaskManagerCell::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath card;
    card.addRoundedRect(QRectF(rect().marginsRemoved(cardInset)), 10, 10);
    painter.fillPath(card, m_hovered ? hoveredCardColor : cardColor);
    if (m_focusRing)
        FocusRing::paintRoundedRect(painter, rect().marginsRemoved(cardInset), 10);
}

void TaskManagerCell::setFocusRing(bool shown)
{
    if (shown == m_focusRing)
        return;
    m_focusRing = shown;
    update();
}
