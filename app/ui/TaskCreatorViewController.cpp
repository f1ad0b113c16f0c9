#include "ui/TaskCreatorViewController.h"

#include <QEasingCurve>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QVBoxLayout>

#include "ColorHelpers.h"
#include "store/Localization.h"
#include "ui/SvgPixmap.h"
#include "ui/TaskScreenHeader.h"

namespace {

constexpr int swatchSize = 28;
constexpr int markerSize = 38;

constexpr std::array<TaskInfo::Colors, 6> swatchColors = {
    TaskInfo::Colors::red,  TaskInfo::Colors::orange,   TaskInfo::Colors::grass,
    TaskInfo::Colors::aqua, TaskInfo::Colors::lavander, TaskInfo::Colors::pink};

constexpr std::array<const char*, 6> swatchNames = {"buttonRed",  "buttonOrange",   "buttonGrass",
                                                    "buttonAqua", "buttonLavander", "buttonPink"};

// A ring around the chosen swatch.
class MarkerView : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(ColorHelpers::color(QStringLiteral("#313131")), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5));
    }
};

QLabel* makeFieldTitle(QWidget* parent, const char* key)
{
    auto* label = new QLabel(Localization::text(key), parent);
    QFont font = label->font();
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() - 1);
    font.setWeight(QFont::DemiBold);
    label->setFont(font);
    label->setStyleSheet(QStringLiteral("color: #999999;"));
    return label;
}

const QString fieldStyle =
    QStringLiteral("{ background-color: #f3f3f3; color: #313131; border: 1px solid #f3f3f3;"
                   " border-radius: 8px; padding: 6px 8px; selection-background-color: #59b6e8; }");
const QString fieldFocusStyle =
    QStringLiteral(":focus { border: 1px solid #59b6e8; background-color: #ffffff; }");
const QString scrollBarStyle = QStringLiteral(
    "QScrollBar:vertical { width: 6px; background: transparent; margin: 2px 0; }"
    "QScrollBar::handle:vertical { background: #cfcfcf; border-radius: 3px; min-height: 20px; }"
    "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
    "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }");

} // namespace

TaskCreatorViewController::TaskCreatorViewController(DataController& store, QWidget* parent)
    : QWidget(parent)
    , m_store(store)
    , m_viewSide(new QWidget(this))
    , m_buttonBack(new QPushButton(m_viewSide))
    , m_labelTitle(new QLabel(m_viewSide))
    , m_labelTitleName(makeFieldTitle(this, "TASK_CREATOR_NAME"))
    , m_textfieldName(new QLineEdit(this))
    , m_labelTitleColor(makeFieldTitle(this, "TASK_CREATOR_COLOR"))
    , m_colors(new QWidget(this))
    , m_viewMarker(new MarkerView(m_colors))
    , m_markerAnimation(new QPropertyAnimation(m_viewMarker, "pos", this))
    , m_labelTitleDescription(makeFieldTitle(this, "TASK_CREATOR_DESCRIPTION"))
    , m_textfieldDescription(new QPlainTextEdit(this))
    , m_labelCharactersLeft(new QLabel(this))
    , m_buttonSave(new QPushButton(this))
{
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::white);
    setPalette(background);

    TaskScreenHeader::style(m_viewSide, m_labelTitle, "TASK_CREATOR_TITLE_NEW");

    m_buttonBack->setText(Localization::text("TASK_CREATOR_BUTTON_BACK"));
    m_buttonBack->setIcon(SvgPixmap::tintedIcon(QStringLiteral("Tasks-Back"), QSize(18, 18),
                                                ColorHelpers::color(QStringLiteral("#313131"))));
    m_buttonBack->setIconSize(QSize(18, 18));
    m_buttonBack->setCursor(Qt::PointingHandCursor);
    m_buttonBack->setStyleSheet(
        QStringLiteral("QPushButton { border: none; border-radius: 8px; color: #313131;"
                       " padding: 6px 8px; background: transparent; }"
                       "QPushButton:hover { background-color: #f0f0f0; }"
                       "QPushButton:pressed { background-color: #e4e4e4; }"));

    auto* header = new QHBoxLayout(m_viewSide);
    header->setContentsMargins(8, 0, 10, 0);
    header->addWidget(m_buttonBack);
    header->addStretch(1);
    m_viewSide->installEventFilter(this);

    m_textfieldName->setStyleSheet(QStringLiteral("QLineEdit ") + fieldStyle +
                                   QStringLiteral("QLineEdit") + fieldFocusStyle);
    m_textfieldDescription->setStyleSheet(QStringLiteral("QPlainTextEdit ") + fieldStyle +
                                          QStringLiteral("QPlainTextEdit") + fieldFocusStyle +
                                          scrollBarStyle);
    m_textfieldDescription->setTabChangesFocus(true);
    m_textfieldDescription->document()->setDocumentMargin(2);
    m_textfieldDescription->setFixedHeight(96);

    auto* swatches = new QHBoxLayout(m_colors);
    swatches->setContentsMargins((markerSize - swatchSize) / 2, 0, (markerSize - swatchSize) / 2,
                                 0);
    m_colors->setFixedHeight(markerSize + 2);
    for (size_t i = 0; i < swatchColors.size(); ++i) {
        const TaskInfo::Colors color = swatchColors[i];
        auto* button = new QPushButton(m_colors);
        button->setObjectName(QString::fromLatin1(swatchNames[i]));
        button->setFixedSize(swatchSize, swatchSize);
        button->setCursor(Qt::PointingHandCursor);
        const QColor fill = ColorHelpers::color(TaskInfo::rawValue(color));
        button->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; border: none;"
                                             " border-radius: %3px; }"
                                             "QPushButton:hover { background-color: %2; }")
                                  .arg(fill.name(), fill.lighter(112).name())
                                  .arg(swatchSize / 2));
        connect(button, &QPushButton::clicked, this,
                [this, color] { handleColorButtonClick(color); });
        button->installEventFilter(this);
        if (i > 0)
            swatches->addStretch(1);
        swatches->addWidget(button);
        m_colorButtons[i] = button;
    }
    m_viewMarker->setFixedSize(markerSize, markerSize);
    m_viewMarker->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_viewMarker->raise();
    m_markerAnimation->setDuration(markerAnimationMs);
    m_markerAnimation->setEasingCurve(QEasingCurve::OutCubic);

    m_labelCharactersLeft->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    m_buttonSave->setText(Localization::text("TASK_CREATOR_BUTTON_SAVE"));
    m_buttonSave->setCursor(Qt::PointingHandCursor);
    m_buttonSave->setFixedHeight(38);
    QFont saveFont = m_buttonSave->font();
    saveFont.setWeight(QFont::DemiBold);
    m_buttonSave->setFont(saveFont);
    m_buttonSave->setStyleSheet(
        QStringLiteral("QPushButton { background-color: #313131; color: #ffffff; border: none;"
                       " border-radius: 10px; }"
                       "QPushButton:hover { background-color: #464646; }"
                       "QPushButton:pressed { background-color: #1f1f1f; }"));

    auto* form = new QVBoxLayout;
    form->setContentsMargins(18, 14, 18, 16);
    form->setSpacing(0);
    form->addWidget(m_labelTitleName);
    form->addSpacing(6);
    form->addWidget(m_textfieldName);
    form->addSpacing(16);
    form->addWidget(m_labelTitleColor);
    form->addSpacing(4);
    form->addWidget(m_colors);
    form->addSpacing(14);
    form->addWidget(m_labelTitleDescription);
    form->addSpacing(6);
    form->addWidget(m_textfieldDescription);
    form->addSpacing(4);
    form->addWidget(m_labelCharactersLeft);
    form->addStretch(1);
    form->addSpacing(10);
    form->addWidget(m_buttonSave);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_viewSide);
    layout->addLayout(form, 1);

    connect(m_buttonBack, &QPushButton::clicked, this,
            &TaskCreatorViewController::handleBackButtonClick);
    connect(m_buttonSave, &QPushButton::clicked, this,
            &TaskCreatorViewController::handleSaveButtonClick);
    connect(m_textfieldName, &QLineEdit::returnPressed, this,
            &TaskCreatorViewController::handleSaveButtonClick);
    connect(m_textfieldName, &QLineEdit::textChanged, this,
            &TaskCreatorViewController::controlTextDidChange);
    connect(m_textfieldDescription, &QPlainTextEdit::textChanged, this,
            &TaskCreatorViewController::controlTextDidChange);

    clear();
}

void TaskCreatorViewController::clear()
{
    m_form.clear();
    m_textfieldName->clear();
    m_textfieldDescription->clear();
    updateCharactersLeft();
    moveMarker(false);
}

void TaskCreatorViewController::editTask(const QString& named)
{
    clear();
    if (!m_form.edit(m_store, named))
        return;
    // Copies: each field's change is read back into the form before the next one is set.
    const QString name = m_form.name();
    const QString description = m_form.description();
    m_textfieldName->setText(name);
    m_textfieldDescription->setPlainText(description);
    updateCharactersLeft();
    moveMarker(true);
}

void TaskCreatorViewController::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    clear();
}

bool TaskCreatorViewController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_viewSide && event->type() == QEvent::Resize) {
        m_labelTitle->setGeometry(m_viewSide->rect());
    } else if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) &&
               m_markerAnimation->state() != QAbstractAnimation::Running &&
               watched == colorButton(m_form.markerColor())) {
        // The swatches are laid out late (at the first show, on every resize).
        m_viewMarker->move(markerPosition());
    }
    return QWidget::eventFilter(watched, event);
}

void TaskCreatorViewController::handleColorButtonClick(TaskInfo::Colors color)
{
    m_form.chooseColor(color);
    m_form.rebuildParameter();
    moveMarker(true);
}

void TaskCreatorViewController::handleSaveButtonClick()
{
    const auto saved = m_form.save(m_store);
    if (!saved)
        return;
    if (auto* delegate = m_delegate.get()) {
        if (saved->oldName)
            delegate->taskUpdated(*saved->oldName, saved->newName);
        else
            delegate->taskAdded();
    }
    if (auto* transition = m_transitionDelegate.get())
        transition->showTaskList();
}

void TaskCreatorViewController::handleBackButtonClick()
{
    if (auto* transition = m_transitionDelegate.get())
        transition->showTaskList();
}

void TaskCreatorViewController::controlTextDidChange()
{
    m_form.setName(m_textfieldName->text());
    m_form.setDescription(m_textfieldDescription->toPlainText());
    updateCharactersLeft();
}

void TaskCreatorViewController::updateCharactersLeft()
{
    const int left = m_form.charactersLeft();
    m_labelCharactersLeft->setText(QString::number(left));
    m_labelCharactersLeft->setStyleSheet(left < 0 ? QStringLiteral("color: #f72020;")
                                                  : QStringLiteral("color: #999999;"));
}

void TaskCreatorViewController::moveMarker(bool animated)
{
    m_markerAnimation->stop();
    const QPoint target = markerPosition();
    if (!animated || !isVisible()) {
        m_viewMarker->move(target);
        return;
    }
    m_markerAnimation->setStartValue(m_viewMarker->pos());
    m_markerAnimation->setEndValue(target);
    m_markerAnimation->start();
}

QPoint TaskCreatorViewController::markerPosition() const
{
    const QRect swatch = colorButton(m_form.markerColor())->geometry();
    return swatch.center() - QPoint(markerSize / 2 - 1, markerSize / 2 - 1);
}
