#include "ui/GeneralPreferencesViewController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QVBoxLayout>

#include "ColorHelpers.h"
#include "settings/Settings.h"
#include "store/Localization.h"

namespace {

constexpr int ControlColumn = 1;
constexpr int ValueColumn = 2;

QLabel* rowLabel(const char* key)
{
    auto* label = new QLabel(Localization::text(key));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

} // namespace

GeneralPreferencesViewController::GeneralPreferencesViewController(Settings& settings,
                                                                   GeneralPreferences::Hooks hooks,
                                                                   QWidget* parent)
    : QWidget(parent)
    , m_preferences(settings, std::move(hooks))
{
    setObjectName(QStringLiteral("GeneralPreferencesViewController"));
    buildControls();
    reload();
}

void GeneralPreferencesViewController::buildControls()
{
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(10);
    grid->setColumnStretch(ControlColumn, 1);
    int row = 0;

    labelTaskTimeDescription = rowLabel("SETTINGS_TASK_TIME_LABEL");
    labelShortBreakDescription = rowLabel("SETTINGS_BREAK_SHORT_LABEL");
    labelLongBreakDescription = rowLabel("SETTINGS_BREAK_LONG_LABEL");
    valueTaskTime = new QLabel;
    valueShortBreak = new QLabel;
    valueLongBreak = new QLabel;
    sliderTaskTime =
        addSlider(GeneralPreferences::TaskTimeRange, Settings::PomodoroTaskTime, valueTaskTime);
    sliderShortBreak = addSlider(GeneralPreferences::ShortBreakRange,
                                 Settings::PomodoroLittleBreakTime, valueShortBreak);
    sliderLongBreak = addSlider(GeneralPreferences::LongBreakRange, Settings::PomodoroBigBreakTime,
                                valueLongBreak);
    const std::tuple<QLabel*, QSlider*, QLabel*> sliders[] = {
        {labelTaskTimeDescription, sliderTaskTime, valueTaskTime},
        {labelShortBreakDescription, sliderShortBreak, valueShortBreak},
        {labelLongBreakDescription, sliderLongBreak, valueLongBreak},
    };
    // Wide enough for the longest value, so the sliders do not move as the numbers change.
    const int valueWidth = valueTaskTime->fontMetrics().horizontalAdvance(
                               Localization::text("SETTINGS_MINUTES_VALUE").arg(88)) +
                           4;
    for (const auto& [label, slider, value] : sliders) {
        value->setMinimumWidth(valueWidth);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setBuddy(slider);
        grid->addWidget(label, row, 0);
        grid->addWidget(slider, row, ControlColumn);
        grid->addWidget(value, row, ValueColumn);
        ++row;
    }

    labelTaskQuantity = rowLabel("SETTINGS_SESSION_QUANTITY_LABEL");
    comboTaskQuantity = new QComboBox;
    comboTaskQuantity->setObjectName(QStringLiteral("comboTaskQuantity"));
    comboTaskQuantity->addItems(GeneralPreferences::sessionItems());
    comboTaskQuantity->setMinimumContentsLength(3);
    labelTaskQuantity->setBuddy(comboTaskQuantity);
    // A choice the user makes, not one made while filling the list.
    connect(comboTaskQuantity, &QComboBox::activated, this,
            [this](int index) { m_preferences.selectSession(comboTaskQuantity->itemText(index)); });
    grid->addWidget(labelTaskQuantity, row, 0);
    grid->addWidget(comboTaskQuantity, row, ControlColumn, Qt::AlignLeft);
    ++row;

    labelGoalTask = rowLabel("SETTINGS_GOAL_LABEL");
    comboGoalTask = new QComboBox;
    comboGoalTask->setObjectName(QStringLiteral("comboGoalTask"));
    comboGoalTask->setEditable(true);
    // A typed goal is stored, not added to the list; the list shows it at the next load.
    comboGoalTask->setInsertPolicy(QComboBox::NoInsert);
    comboGoalTask->setMinimumContentsLength(3);
    labelGoalTask->setBuddy(comboGoalTask);
    const auto goalChanged = [this] {
        if (!m_loading)
            m_preferences.changeGoal(comboGoalTask->currentText());
    };
    connect(comboGoalTask, &QComboBox::currentIndexChanged, this, goalChanged);
    connect(comboGoalTask, &QComboBox::editTextChanged, this, goalChanged);
    connect(comboGoalTask->lineEdit(), &QLineEdit::editingFinished, this, goalChanged);
    grid->addWidget(labelGoalTask, row, 0);
    grid->addWidget(comboGoalTask, row, ControlColumn, Qt::AlignLeft);
    ++row;

    checkTaskSound = addCheck("SETTINGS_TASK_SOUND_LABEL", Settings::PomodoroSoundAtEnd);
    checkBreakSound = addCheck("SETTINGS_BREAK_SOUND_LABEL", Settings::BreakSoundAtEnd);
    checkAutoStartPomodoro = addCheck("SETTINGS_AUTO_START_POMODORO", Settings::PomodoroAutoStart);
    grid->setRowMinimumHeight(row++, 2);
    for (QCheckBox* check : {checkTaskSound, checkBreakSound, checkAutoStartPomodoro})
        grid->addWidget(check, row++, ControlColumn, 1, 2);

    auto* separator = new QFrame;
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    grid->addWidget(separator, row++, 0, 1, 3);

    labelAppSettings = rowLabel("SETTINGS_GENERAL_TITLE");
    checkShowDockIcon = new QCheckBox(Localization::text("SETTINGS_APP_ICON"));
    checkShowDockIcon->setObjectName(QStringLiteral("checkShowDockIcon"));
    // Only the user's click asks for a switch; putting the box back after a failed one must
    // happen once the click is over, or the box loses track of its state.
    connect(checkShowDockIcon, &QCheckBox::clicked, this,
            [this] { doShowDockIconCheck(checkShowDockIcon->checkState()); });
    checkShowNotification = addCheck("SETTINGS_NOTIFICATION", Settings::ShowNotifications);
    checkStartAtLaunch = addCheck("SETTINGS_START_POMODORO_LAUNCH", Settings::PomodoroStartLaunch);
    grid->addWidget(labelAppSettings, row, 0);
    for (QCheckBox* check : {checkShowDockIcon, checkShowNotification, checkStartAtLaunch})
        grid->addWidget(check, row++, ControlColumn, 1, 2);

    labelAdvice = new QLabel(Localization::text("SETTINGS_PROPERTIES_ADVICE"));
    labelAdvice->setWordWrap(true);
    QPalette advicePalette = labelAdvice->palette();
    advicePalette.setColor(QPalette::WindowText, ColorHelpers::color(QStringLiteral("#999999")));
    labelAdvice->setPalette(advicePalette);
    QFont adviceFont = labelAdvice->font();
    adviceFont.setPointSizeF(adviceFont.pointSizeF() * 0.9);
    labelAdvice->setFont(adviceFont);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->setSpacing(16);
    layout->addLayout(grid);
    layout->addWidget(labelAdvice);
    layout->addStretch(1);
}

QSlider* GeneralPreferencesViewController::addSlider(const GeneralPreferences::MinuteRange& range,
                                                     const char* key, QLabel* value)
{
    auto* slider = new QSlider(Qt::Horizontal);
    slider->setObjectName(QString::fromLatin1(key));
    slider->setRange(range.minimum, range.maximum);
    slider->setSingleStep(1);
    slider->setPageStep(5);
    slider->setMinimumWidth(220);
    connect(slider, &QSlider::valueChanged, this, [this, key, value](int minutes) {
        showMinutes(value, minutes);
        if (!m_loading)
            m_preferences.setMinutes(key, minutes);
    });
    return slider;
}

QCheckBox* GeneralPreferencesViewController::addCheck(const char* textKey, const char* settingsKey)
{
    auto* check = new QCheckBox(Localization::text(textKey));
    check->setObjectName(QString::fromLatin1(settingsKey));
    connect(check, &QCheckBox::stateChanged, this, [this, settingsKey](int state) {
        if (!m_loading)
            m_preferences.setChecked(settingsKey, state);
    });
    return check;
}

void GeneralPreferencesViewController::showMinutes(QLabel* label, int minutes) const
{
    label->setText(Localization::text("SETTINGS_MINUTES_VALUE").arg(minutes));
}

void GeneralPreferencesViewController::doShowDockIconCheck(int state)
{
    const bool stored = m_preferences.changeDockIcon(state);
    // A switch that failed leaves the box showing what is really in effect.
    if (stored != GeneralPreferences::isOn(state))
        checkShowDockIcon->setChecked(stored);
}

void GeneralPreferencesViewController::reload()
{
    m_loading = true;
    const std::tuple<QSlider*, QLabel*, const char*> sliders[] = {
        {sliderTaskTime, valueTaskTime, Settings::PomodoroTaskTime},
        {sliderShortBreak, valueShortBreak, Settings::PomodoroLittleBreakTime},
        {sliderLongBreak, valueLongBreak, Settings::PomodoroBigBreakTime},
    };
    for (const auto& [slider, value, key] : sliders) {
        slider->setValue(m_preferences.minutes(key));
        // An unchanged value sends no signal.
        showMinutes(value, slider->value());
    }

    comboTaskQuantity->setCurrentIndex(m_preferences.sessionIndex());

    comboGoalTask->clear();
    comboGoalTask->addItems(m_preferences.goalItems());
    comboGoalTask->setCurrentIndex(m_preferences.goalIndex());

    const std::pair<QCheckBox*, const char*> checks[] = {
        {checkShowDockIcon, Settings::ShowDockIcon},
        {checkShowNotification, Settings::ShowNotifications},
        {checkTaskSound, Settings::PomodoroSoundAtEnd},
        {checkBreakSound, Settings::BreakSoundAtEnd},
        {checkAutoStartPomodoro, Settings::PomodoroAutoStart},
        {checkStartAtLaunch, Settings::PomodoroStartLaunch},
    };
    for (const auto& [check, key] : checks)
        check->setChecked(m_preferences.isChecked(key));
    m_loading = false;
}
