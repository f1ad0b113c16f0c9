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
#include <QStyle>
#include <QVBoxLayout>

#include "ColorHelpers.h"
#include "store/Localization.h"
#include "ui/ButtonKeys.h"
#include "ui/ColorSwatch.h"
#include "ui/SvgPixmap.h"
#include "ui/TaskScreenHeader.h"

namespace {

constexpr int markerSize = 38;

constexpr std::array<TaskInfo::Colors, 6> swatchColors = {
    TaskInfo::Colors::red,  TaskInfo::Colors::orange,   TaskInfo::Colors::grass,
    TaskInfo::Colors::aqua, TaskInfo::Colors::lavander, TaskInfo::Colors::pink};

constexpr std::array<const char*, 6> swatchNames = {"buttonRed",  "buttonOrange",   "buttonGrass",
                                                    "buttonAqua", "buttonLavander", "buttonPink"};

// What a screen reader says for each swatch.
constexpr std::array<const char*, 6> swatchKeys = {
    "TASK_CREATOR_COLOR_RED",  "TASK_CREATOR_COLOR_ORANGE",   "TASK_CREATOR_COLOR_GRASS",
    "TASK_CREATOR_COLOR_AQUA", "TASK_CREATOR_COLOR_LAVANDER", "TASK_CREATOR_COLOR_PINK"};

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
const QString fieldInvalidStyle =
    QStringLiteral("[invalid=\"true\"] { border: 1px solid #f72020; }");
const QString headerButtonStyle =
    QStringLiteral("QPushButton { border: 2px solid transparent; border-radius: 8px; outline: none;"
                   " color: #313131; padding: 4px 6px; background: transparent; }"
                   "QPushButton:hover { background-color: #f0f0f0; }"
                   "QPushButton:pressed { background-color: #e4e4e4; }"
                   "QPushButton:focus { border-color: #59b6e8; }");
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
    , m_labelNameError(new QLabel(this))
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
    m_buttonBack->setFocusPolicy(Qt::TabFocus);
    m_buttonBack->setAccessibleName(m_buttonBack->text());
    m_buttonBack->setStyleSheet(headerButtonStyle);
    ButtonKeys::install(m_buttonBack);

    auto* header = new QHBoxLayout(m_viewSide);
    header->setContentsMargins(8, 0, 10, 0);
    header->addWidget(m_buttonBack);
    header->addStretch(1);
    m_viewSide->installEventFilter(this);

    m_textfieldName->setStyleSheet(QStringLiteral("QLineEdit ") + fieldStyle +
                                   QStringLiteral("QLineEdit") + fieldFocusStyle +
                                   QStringLiteral("QLineEdit") + fieldInvalidStyle);
    m_textfieldName->setAccessibleName(m_labelTitleName->text());
    m_labelTitleName->setBuddy(m_textfieldName);
    m_labelNameError->setObjectName(QStringLiteral("labelNameError"));
    m_labelNameError->setWordWrap(true);
    m_labelNameError->setStyleSheet(QStringLiteral("color: #f72020;"));
    m_labelNameError->hide();
    m_textfieldDescription->setAccessibleName(m_labelTitleDescription->text());
    m_labelTitleDescription->setBuddy(m_textfieldDescription);
    m_textfieldDescription->setStyleSheet(QStringLiteral("QPlainTextEdit ") + fieldStyle +
                                          QStringLiteral("QPlainTextEdit") + fieldFocusStyle +
                                          scrollBarStyle);
    m_textfieldDescription->setTabChangesFocus(true);
    // It wraps, so a horizontal bar could only flash up while the text is laid out.
    m_textfieldDescription->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_textfieldDescription->document()->setDocumentMargin(2);
    m_textfieldDescription->setFixedHeight(96);

    auto* swatches = new QHBoxLayout(m_colors);
    // The swatches' own margins leave room for the marker and the focus ring.
    swatches->setContentsMargins(0, 0, 0, 0);
    m_colors->setFixedHeight(ColorSwatch::side);
    for (size_t i = 0; i < swatchColors.size(); ++i) {
        const TaskInfo::Colors color = swatchColors[i];
        auto* button = new ColorSwatch(ColorHelpers::color(TaskInfo::rawValue(color)), m_colors);
        button->setObjectName(QString::fromLatin1(swatchNames[i]));
        button->setAccessibleName(Localization::text(swatchKeys[i]));
        button->setCheckable(true);
        ButtonKeys::install(button);
        connect(button, &QAbstractButton::clicked, this,
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
    m_buttonSave->setAccessibleName(m_buttonSave->text());
    m_buttonSave->setCursor(Qt::PointingHandCursor);
    m_buttonSave->setFocusPolicy(Qt::TabFocus);
    ButtonKeys::install(m_buttonSave);
    m_buttonSave->setFixedHeight(38);
    QFont saveFont = m_buttonSave->font();
    saveFont.setWeight(QFont::DemiBold);
    m_buttonSave->setFont(saveFont);
    m_buttonSave->setStyleSheet(QStringLiteral(
        "QPushButton { background-color: #313131; color: #ffffff; border: none; outline: none;"
        " border-radius: 10px; }"
        "QPushButton:hover { background-color: #464646; }"
        "QPushButton:pressed { background-color: #1f1f1f; }"
        "QPushButton:focus { border: 2px solid #59b6e8; }"));

    auto* form = new QVBoxLayout;
    form->setContentsMargins(18, 14, 18, 16);
    form->setSpacing(0);
    form->addWidget(m_labelTitleName);
    form->addSpacing(6);
    form->addWidget(m_textfieldName);
    form->addSpacing(4);
    form->addWidget(m_labelNameError);
    form->addSpacing(12);
    form->addWidget(m_labelTitleColor);
    form->addWidget(m_colors);
    form->addSpacing(8);
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
    connect(m_textfieldName, &QLineEdit::textEdited, this, [this] { showNameError(nullptr); });
    connect(m_textfieldDescription, &QPlainTextEdit::textChanged, this,
            &TaskCreatorViewController::controlTextDidChange);

    // As the screen reads, with the swatches between the two fields.
    QWidget* order[] = {m_buttonBack,      m_textfieldName,   m_colorButtons[0],
                        m_colorButtons[1], m_colorButtons[2], m_colorButtons[3],
                        m_colorButtons[4], m_colorButtons[5], m_textfieldDescription,
                        m_buttonSave};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    clear();
}

void TaskCreatorViewController::clear()
{
    m_form.clear();
    m_textfieldName->clear();
    m_textfieldDescription->clear();
    showNameError(nullptr);
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

void TaskCreatorViewController::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Whether new or edited, a task starts with its name.
    m_textfieldName->setFocus(Qt::OtherFocusReason);
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
    TaskCreatorForm::Refusal refusal = TaskCreatorForm::Refusal::invalid;
    const auto saved = m_form.save(m_store, &refusal);
    if (!saved) {
        if (refusal == TaskCreatorForm::Refusal::nameTaken)
            showNameError("TASK_CREATOR_NAME_TAKEN");
        return;
    }
    showNameError(nullptr);
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

void TaskCreatorViewController::showNameError(const char* key)
{
    const QString message = key ? Localization::text(key) : QString();
    m_labelNameError->setText(message);
    m_labelNameError->setVisible(key != nullptr);
    m_textfieldName->setAccessibleDescription(message);
    m_textfieldName->setProperty("invalid", key != nullptr);
    m_textfieldName->style()->unpolish(m_textfieldName);
    m_textfieldName->style()->polish(m_textfieldName);
    if (key)
        m_textfieldName->setFocus(Qt::OtherFocusReason);
}

void TaskCreatorViewController::moveMarker(bool animated)
{
    // A stored colour that no swatch has is kept, and no swatch claims it.
    const bool shown = m_form.markerShown();
    m_viewMarker->setVisible(shown);
    for (size_t i = 0; i < swatchColors.size(); ++i)
        m_colorButtons[i]->setChecked(shown && swatchColors[i] == m_form.markerColor());
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
