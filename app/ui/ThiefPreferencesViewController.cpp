#include "ui/ThiefPreferencesViewController.h"

#include <QCheckBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>

#include "ColorHelpers.h"
#include "settings/Settings.h"
#include "store/Localization.h"
#include "ui/GeneralPreferences.h"

ThiefPreferencesViewController::ThiefPreferencesViewController(
    Settings& settings, std::function<void(bool allowed)> scanAllowedChanged,
    std::function<bool()> canSeeFrontmost, QWidget* parent)
    : QWidget(parent)
    , m_settings(settings)
    , m_scanAllowedChanged(std::move(scanAllowedChanged))
    , m_canSeeFrontmost(std::move(canSeeFrontmost))
{
    setObjectName(QStringLiteral("ThiefPreferencesViewController"));

    labelTitle = new QLabel(Localization::text("THIEF_PREFERENCES_ALLOW_TITLE"));
    QFont titleFont = labelTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.1);
    labelTitle->setFont(titleFont);

    checkAllowScan = new QCheckBox(Localization::text("THIEF_PREFERENCES_ALLOW_CHECK"));
    checkAllowScan->setObjectName(QString::fromLatin1(Settings::ThievesScanAllowByUser));
    connect(checkAllowScan, &QCheckBox::stateChanged, this,
            &ThiefPreferencesViewController::doAllowScanChecked);

    labelExplanation = new QLabel(Localization::text("THIEF_PREFERENCES_ALLOW_EXPLANATION"));
    labelExplanation->setWordWrap(true);
    QPalette palette = labelExplanation->palette();
    palette.setColor(QPalette::WindowText, ColorHelpers::color(QStringLiteral("#999999")));
    labelExplanation->setPalette(palette);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->setSpacing(12);
    layout->addWidget(labelTitle);
    layout->addWidget(checkAllowScan);
    // Under the check box's text rather than its box, so the two read as one.
    const int indent =
        style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, checkAllowScan) +
        style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, checkAllowScan);
    labelExplanation->setIndent(indent);
    layout->addWidget(labelExplanation);
    labelUnsupported = new QLabel(Localization::text("THIEF_PREFERENCES_DESKTOP_UNSUPPORTED"));
    labelUnsupported->setWordWrap(true);
    labelUnsupported->setIndent(indent);
    labelUnsupported->setStyleSheet(QStringLiteral("color: #b35c00;"));
    labelUnsupported->hide();
    layout->addWidget(labelUnsupported);
    layout->addStretch(1);

    reload();
}

void ThiefPreferencesViewController::reload()
{
    const QSignalBlocker blocker(checkAllowScan);
    checkAllowScan->setChecked(m_settings.boolValue(Settings::ThievesScanAllowByUser));
    labelUnsupported->setVisible(m_canSeeFrontmost && !m_canSeeFrontmost());
}

void ThiefPreferencesViewController::doAllowScanChecked(int state)
{
    const bool allowed = GeneralPreferences::isOn(state);
    m_settings.setBool(Settings::ThievesScanAllowByUser, allowed);
    if (m_scanAllowedChanged)
        m_scanAllowedChanged(allowed);
}
